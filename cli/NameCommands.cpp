#include "cli/Commands.h"
#include "cli/RecordText.h"
#include "cli/Text.h"
#include "core/FileErrorReason.h"
#include "core/FileIo.h"
#include "core/TagFromNameFile.h"
#include "id3v2/Id3v2Reading.h"

namespace tagwerk {

namespace {

// Gives one file a trailer from another source than the editor, by the
// rules of the tags-from-names window; counts the files left alone.
class TrailerFromSource {
public:
    TrailerFromSource(bool overwrite, bool dryRun, Report& report, TrailerChangeObserver* journal)
        : overwrite_(overwrite), dryRun_(dryRun), report_(report), journal_(journal) {}

    void write(const std::string& file, const TagRecord& record) {
        const TagFromNameResult result = dryRun_
                                             ? PreviewTagFromName(file, overwrite_)
                                             : WriteTagFromName(file, record, overwrite_, journal_);
        switch (result.outcome) {
        case TagFromNameOutcome::written:
            if (dryRun_)
                Print(file + ": würde diesen ID3-Tag schreiben:\n" + RecordLines(record));
            break;
        case TagFromNameOutcome::leftAlone:
            ++leftAlone_;
            if (dryRun_)
                WriteLine(stdout, file + ": hat bereits einen ID3-Tag, bleibt unverändert");
            break;
        case TagFromNameOutcome::tooShort:
            report_.failed(file, kTooShortReason);
            break;
        case TagFromNameOutcome::failed:
            report_.failed(file, FileErrorReason(result.error));
            break;
        }
    }

    // The window's summary; a trial run has done nothing to sum up.
    void finish() const {
        if (!dryRun_)
            WriteLine(stdout, TagFromNameSummary(report_.failures(), leftAlone_));
    }

private:
    const bool overwrite_;
    const bool dryRun_;
    Report& report_;
    TrailerChangeObserver* const journal_;
    std::int64_t leftAlone_ = 0;
};

} // namespace

void FromNames(const Files& files, const Dateinamenaufbau& pattern, const FixedValues& fixed,
               bool overwrite, bool dryRun, Report& report, TrailerChangeObserver* journal) {
    TrailerFromSource source(overwrite, dryRun, report, journal);
    for (const std::string& file : files) {
        if (const auto record = RecordFromFileName(pattern, Utf16FromUtf8(file), fixed))
            source.write(file, *record);
        else
            report.failed(file, "Der Dateiname passt nicht zum Dateinamenaufbau.");
    }
    source.finish();
}

void FromV2(const Files& files, bool overwrite, bool dryRun, Report& report,
            TrailerChangeObserver* journal) {
    TrailerFromSource source(overwrite, dryRun, report, journal);
    for (const std::string& file : files) {
        if (const auto tag = ReadId3v2Tag(file)) {
            source.write(file, tag->record);
            continue;
        }
        // The reading says only that there is no tag; opening the file tells
        // whether it could not be read at all.
        const FileError error = OpenForReading(file).error;
        report.failed(file, error != FileError::none
                                ? FileErrorReason(error)
                                : "Die Datei beginnt nicht mit einem lesbaren ID3v2-Tag.");
    }
    source.finish();
}

} // namespace tagwerk

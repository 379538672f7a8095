#include "cli/Commands.h"
#include "cli/RecordText.h"
#include "cli/Text.h"
#include "core/FileIo.h"
#include "core/PathText.h"
#include "core/TagFromNameFile.h"
#include "id3v2/Id3v2Reading.h"

namespace tagwerk {

namespace {

// Gives one file a trailer from another source than the editor, by the
// rules of the tags-from-names window; counts the files written and those
// left alone.
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
            ++written_;
            WarnIfTrackLost(file, record);
            if (dryRun_)
                Print(Visible(file) + ": würde diesen ID3-Tag schreiben:\n" + RecordLines(record));
            break;
        case TagFromNameOutcome::leftAlone:
            ++leftAlone_;
            if (dryRun_)
                WriteLine(stdout,
                          Visible(file) + ": hat bereits einen ID3-Tag, bleibt unverändert");
            break;
        case TagFromNameOutcome::tooShort:
            report_.failed(file, kTooShortReason);
            break;
        case TagFromNameOutcome::failed:
            report_.failed(file, result.error);
            break;
        }
    }

    // Nothing to take is no failure: the file stays as it is.
    void leaveWithoutId3v2(const std::string& file) {
        ++withoutId3v2_;
        if (dryRun_)
            WriteLine(stdout, Visible(file) + ": hat keinen ID3v2-Tag, bleibt unverändert");
    }

    // The window's summary and what it leaves out; a trial run has done
    // nothing to sum up.
    void finish() const {
        if (dryRun_)
            return;
        std::string summary = TagFromNameSummary(report_.failures(), leftAlone_);
        if (withoutId3v2_ > 0)
            summary += " Ohne ID3v2-Tag blieben " + SignPlaceNumber(withoutId3v2_) +
                       " Dateien unverändert.";
        WriteLine(stdout,
                  summary + " Geschrieben wurden " + SignPlaceNumber(written_) + " Dateien.");
    }

private:
    const bool overwrite_;
    const bool dryRun_;
    Report& report_;
    TrailerChangeObserver* const journal_;
    std::int64_t written_ = 0;
    std::int64_t leftAlone_ = 0;
    std::int64_t withoutId3v2_ = 0;
};

} // namespace

void FromNames(Files& files, const Dateinamenaufbau& pattern, const FixedValues& fixed,
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

void FromV2(Files& files, bool overwrite, bool dryRun, Report& report,
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
        if (error != FileError::none)
            report.failed(file, error);
        else
            source.leaveWithoutId3v2(file);
    }
    source.finish();
}

} // namespace tagwerk

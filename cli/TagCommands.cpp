#include "cli/Commands.h"
#include "cli/RecordText.h"
#include "cli/Text.h"
#include "core/TrailerFile.h"

namespace tagwerk {

namespace {

TagRecord Changed(const std::optional<TagRecord>& old, const FieldValues& fields) {
    TagRecord record = old.value_or(TagRecord{});
    std::string* const texts[] = {&record.title, &record.artist, &record.album, &record.year,
                                  &record.comment};
    for (std::size_t i = 0; i < fields.texts.size(); ++i)
        if (fields.texts[i])
            *texts[i] = *fields.texts[i];
    if (fields.genre)
        record.genre = *fields.genre;
    if (fields.track)
        record.track = *fields.track;
    return record;
}

// What a removal or blanking would do, told without touching the file.
void PreviewOnTrailer(const std::string& file, const char* action, Report& report) {
    const ReadResult read = ReadTagTrailer(file, kTrailerRule);
    if (read.outcome == ReadOutcome::error)
        report.failed(file, read.error);
    else if (read.outcome == ReadOutcome::noTrailer)
        WriteLine(stdout, Visible(file) + ": hat keinen ID3-Tag, bleibt unverändert");
    else
        WriteLine(stdout, Visible(file) + ": würde den ID3-Tag " + action);
}

} // namespace

void WarnIfTrackLost(const std::string& file, const TagRecord& record) {
    if (record.track != 0 && !TrackFits(record))
        Warn(Visible(file) + ": Der Kommentar ist länger als " +
             std::to_string(kCommentWidthBesideTrack) + " Zeichen; die Titelnummer " +
             std::to_string(record.track) + " entfällt.");
}

void Set(Files& files, const FieldValues& fields, bool dryRun, Report& report,
         TrailerChangeObserver* journal) {
    for (const std::string& file : files) {
        if (dryRun) {
            const ReadResult read = ReadTagTrailer(file, kTrailerRule);
            if (read.outcome == ReadOutcome::error) {
                report.failed(file, read.error);
                continue;
            }
            const std::optional<TagRecord> old = read.outcome == ReadOutcome::trailerFound
                                                     ? std::optional(read.record)
                                                     : std::nullopt;
            const TagRecord record = Changed(old, fields);
            WarnIfTrackLost(file, record);
            Print(Visible(file) + ": würde diesen ID3-Tag schreiben:\n" + RecordLines(record));
            continue;
        }
        const WriteResult written = UpdateTagTrailer(
            file,
            [&](const std::optional<TagRecord>& old) {
                const TagRecord record = Changed(old, fields);
                WarnIfTrackLost(file, record);
                return record;
            },
            journal, kTrailerRule);
        if (written.outcome == WriteOutcome::error)
            report.failed(file, written.error);
    }
}

void Remove(Files& files, bool dryRun, Report& report, TrailerChangeObserver* journal) {
    for (const std::string& file : files) {
        if (dryRun) {
            PreviewOnTrailer(file, "entfernen", report);
            continue;
        }
        const std::size_t nameStart = file.rfind('/') + 1; // 0 without a folder
        const RemoveResult removed = RemoveTagTrailer(
            file.substr(0, nameStart), file.substr(nameStart), {}, journal, kTrailerRule);
        if (removed.outcome == RemoveOutcome::failed)
            report.failed(file, removed.error);
    }
}

void Blank(Files& files, bool dryRun, Report& report, TrailerChangeObserver* journal) {
    for (const std::string& file : files) {
        if (dryRun) {
            PreviewOnTrailer(file, "leeren", report);
            continue;
        }
        const BlankResult blanked = BlankTagTrailer(file, journal, kTrailerRule);
        if (blanked.outcome == BlankOutcome::error)
            report.failed(file, blanked.error);
    }
}

} // namespace tagwerk

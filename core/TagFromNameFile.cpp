#include "core/TagFromNameFile.h"

#include "core/FileIo.h"
#include "core/PathText.h"
#include "core/TrailerFileWrite.h"

namespace tagwerk {

namespace {

TagFromNameResult Failed(FileError error) {
    return {TagFromNameOutcome::failed, error};
}

// What the file's last 128 bytes decide. They are read once: they tell
// whether there is a trailer and are put back if overwriting it fails
// part-way.
struct Decision {
    TagFromNameResult result;
    bool hasTrailer = false;
    TagTrailer old{};
};

Decision Decide(const OpenResult& opened, bool overwrite) {
    Decision decision;
    if (opened.error != FileError::none) {
        decision.result = Failed(opened.error);
    } else if (opened.length < kTrailerLength) {
        decision.result = {TagFromNameOutcome::tooShort, FileError::none};
    } else if (const FindResult found =
                   FindTagTrailer(opened.file, opened.length, TrailerRule::trailerOnlyToo);
               found.error != FileError::none) {
        decision.result = Failed(found.error);
    } else {
        decision.hasTrailer = found.found;
        decision.old = found.trailer;
        decision.result = {decision.hasTrailer && !overwrite ? TagFromNameOutcome::leftAlone
                                                             : TagFromNameOutcome::written,
                           FileError::none};
    }
    return decision;
}

} // namespace

// The writing opens the file for writing before it decides anything.
TagFromNameResult PreviewTagFromName(const std::string& path, bool overwrite) {
    if (FileError error = CheckWritable(path); error != FileError::none)
        return Failed(error);
    return Decide(OpenForReading(path), overwrite).result;
}

TagFromNameResult WriteTagFromName(const std::string& path, const TagRecord& record, bool overwrite,
                                   TrailerChangeObserver* observer) {
    OpenResult opened = OpenForChanging(path);
    const Decision decision = Decide(opened, overwrite);
    if (decision.result.outcome != TagFromNameOutcome::written)
        return decision.result;

    const TagTrailer trailer = EncodeTagTrailer(
        KeepingTrack(record, decision.hasTrailer ? std::optional(DecodeTagTrailer(decision.old))
                                                 : std::nullopt));
    if (observer) {
        const std::int64_t lengthAfter = opened.length + (decision.hasTrailer ? 0 : kTrailerLength);
        observer->aboutToChange(path, {opened.length, decision.old}, {lengthAfter, trailer},
                                opened.nameIsLink);
    }
    FileError error = decision.hasTrailer
                          ? OverwriteTrailer(opened.file, opened.length, trailer, decision.old)
                          : AppendTrailer(opened.file, opened.length, trailer);
    if (error == FileError::none)
        error = opened.file.close();
    if (error != FileError::none)
        return Failed(error);
    return {TagFromNameOutcome::written, FileError::none};
}

std::string TagFromNameSummary(std::int64_t failed, std::int64_t leftAlone) {
    std::string text =
        "Auftrag ausgeführt. Es traten bei " + SignPlaceNumber(failed) + " Dateien Fehler auf.";
    if (leftAlone > 0)
        text += " Außerdem enthielten " + SignPlaceNumber(leftAlone) +
                " Dateien bereits einen ID3-Tag (wurde nicht geändert).";
    return text;
}

} // namespace tagwerk

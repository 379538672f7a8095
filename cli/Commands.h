#pragma once
// The work of each subcommand over its files. Failures go to the report;
// what the commands print goes to standard output. The commands that write
// tell `journal` of each change, so that it can be undone.
#include "cli/Files.h"
#include "cli/Report.h"
#include "core/TagTrailer.h"
#include "core/TrailerChange.h"
#include "core/TrailerFile.h"
#include "pattern/Dateinamenaufbau.h"

#include <array>
#include <optional>
#include <string>

namespace tagwerk {

// Every command tells files with a trailer by one rule: a file of exactly
// 128 bytes that is nothing but a trailer has one, as other readers see it.
inline constexpr TrailerRule kTrailerRule = TrailerRule::trailerOnlyToo;

// The fields `set` writes, as Windows-1252 bytes within their widths, in the
// order title, artist, album, year, comment; fields not given stay as they are.
struct FieldValues {
    std::array<std::optional<std::string>, 5> texts;
    std::optional<GenreCode> genre;
    std::optional<std::uint8_t> track; // 0 clears it
};

// Warns when the record's track number gives way to a long comment.
void WarnIfTrackLost(const std::string& file, const TagRecord& record);

void Show(Files& files, bool json, Report& report);
void Set(Files& files, const FieldValues& fields, bool dryRun, Report& report,
         TrailerChangeObserver* journal);
void Remove(Files& files, bool dryRun, Report& report, TrailerChangeObserver* journal);
void Blank(Files& files, bool dryRun, Report& report, TrailerChangeObserver* journal);
void FromNames(Files& files, const Dateinamenaufbau& pattern, const FixedValues& fixed,
               bool overwrite, bool dryRun, Report& report, TrailerChangeObserver* journal);
void FromV2(Files& files, bool overwrite, bool dryRun, Report& report,
            TrailerChangeObserver* journal);
void Genres();

// Takes back the newest recorded action, or with `dryRun` tells what that
// would do; gives the exit status.
int Undo(bool dryRun);

} // namespace tagwerk

#pragma once
// The fixed table of genre names and their one-byte codes, in the order in
// which every genre box lists them.
#include "core/TagTrailer.h"

#include <array>
#include <optional>
#include <string_view>

namespace tagwerk {

struct GenreEntry {
    std::string_view name;
    GenreCode code;
};

inline constexpr std::size_t kGenreCount = 149;
inline constexpr std::string_view kNoGenreName = "(keine Zuordnung)";

// All 149 entries in list order; position 148 is "(keine Zuordnung)" (255).
const std::array<GenreEntry, kGenreCount>& GenreTable();

// The 149 names in list order, for filling genre boxes.
const std::array<std::string_view, kGenreCount>& GenreNames();

// Exact, case-sensitive match on a whole name; no match gives 255.
GenreCode GenreCodeFromName(std::string_view name);

// A whole name in any case of the letters A to Z, as people type it and
// ID3v2 frames store it; other bytes must match exactly. No match gives
// none, so that the name of 255 stays apart from an unknown name.
std::optional<GenreCode> GenreCodeFromNameIgnoringCase(std::string_view name);

// The name of a code; codes 148 to 254 have none.
std::optional<std::string_view> GenreNameFromCode(GenreCode code);

} // namespace tagwerk

#pragma once
// The text of ID3v2 frame bodies, in any of the four encodings.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tagwerk {

// The values of a body that begins with its encoding byte, split where the
// encoding's NUL stands (ID3v2.4 separates values so), a closing NUL left
// out. UTF-16 without a byte-order mark is little-endian, as from old
// Windows tools. Nothing for an encoding byte above 3.
std::optional<std::vector<std::u16string>> TextValues(std::string_view body);

// The text of a comment body (encoding, language, description, text), its
// values joined with "/"; nothing when the description is not empty.
std::optional<std::u16string> CommentWithoutDescription(std::string_view body);

// The values joined with "/".
std::u16string Joined(const std::vector<std::u16string>& values);

// The first run of exactly four digits, as the year of a date such as
// "2024-05-17" or "Oct 3, 1995"; empty when there is none.
std::u16string FirstYear(std::u16string_view text);

// The leading number of a track text ("3/12" gives 3) where it is 1 to 255, else 0.
int TrackNumber(std::u16string_view text);

} // namespace tagwerk

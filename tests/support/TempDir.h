#pragma once
// Test fixtures on real files: a private temporary directory and byte-level
// file contents.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tagwerk::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh directory in `root`, removed with everything in it at the end of
// the test (also after a test made parts of it read-only).
class TempDir {
public:
    explicit TempDir(const std::filesystem::path& root = std::filesystem::temp_directory_path());
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    // The directory, ending in "/".
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }
    // The names in the directory, sorted.
    std::vector<std::string> names() const;

private:
    std::string path_;
};

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

// `size` bytes that run through every byte value (0x00 and 0x80..0xFF
// included) in an order that does not repeat every 100 or 256 bytes.
Bytes PatternBytes(std::size_t size);

Bytes Concat(const Bytes& first, const Bytes& second);

} // namespace tagwerk::test

// Which files folder trees and argument lists give, and in which order.
#include "collect/Mp3Files.h"
#include "support/Child.h"
#include "support/TempDir.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace tagwerk {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using Lines = std::vector<std::string>;

// Entries are files, folders ("name/") or links ("name -> target").
void MakeTree(const TempDir& dir, const Lines& tree) {
    for (const std::string& entry : tree) {
        const auto arrow = entry.find(" -> ");
        const fs::path path = dir.path() + entry.substr(0, arrow);
        fs::create_directories(path.parent_path());
        if (arrow != std::string::npos)
            fs::create_symlink(entry.substr(arrow + 4), path);
        else if (!entry.ends_with('/'))
            test::WriteFileBytes(path, {});
    }
}

// The files relative to the tree, then the unreadable paths.
Lines Describe(const TempDir& dir, const CollectedFiles& collected) {
    const auto relative = [&](const std::string& path) {
        return path.starts_with(dir.path()) ? path.substr(dir.path().size()) : path;
    };
    Lines lines;
    for (const std::string& file : collected.files)
        lines.push_back(relative(file));
    for (const UnreadablePath& unreadable : collected.unreadable)
        lines.push_back("unreadable " + relative(unreadable.path) + ": " +
                        std::strerror(unreadable.error));
    return lines;
}

CollectedFiles Collect(const TempDir& dir, const std::optional<Lines>& arguments) {
    if (!arguments)
        return Mp3FilesOf(dir.path());
    Lines paths;
    for (const std::string& argument : *arguments)
        paths.push_back(dir.file(argument));
    return FilesOfArguments(paths);
}

struct TreeCase {
    const char* name;
    Lines tree;
    std::optional<Lines> arguments; // none: the files of the whole tree
    Lines expected;
};

const TreeCase kTreeCases[] = {
    {"GermanOrderIgnoresCaseAndTiesGoByBytes",
     {"Bär.mp3", "Bad.mp3", "bar.mp3", "Baz.mp3", "b.mp3", "B.mp3"},
     {},
     {"B.mp3", "b.mp3", "Bad.mp3", "bar.mp3", "Bär.mp3", "Baz.mp3"}},
    {"OwnFilesFirstThenEachSubfolderInOrder",
     {"z.mp3", "b/x.mp3", "Ä/x.mp3", "a/y.mp3", "a/x.mp3", "a/c/x.mp3", "leer/"},
     {},
     {"z.mp3", "a/x.mp3", "a/y.mp3", "a/c/x.mp3", "Ä/x.mp3", "b/x.mp3"}},
    {"ExtensionInAnyCaseOnly",
     {"a.MP3", "b.Mp3", "c.mp3.txt", "d.mp4", "mp3", "e.mp3/f.mp3"},
     {},
     {"a.MP3", "b.Mp3", "e.mp3/f.mp3"}},
    {"HiddenFilesAndFoldersAreSkipped",
     {".a.mp3", ".versteckt/b.mp3", "c.mp3", "d/.e.mp3"},
     {},
     {"c.mp3"}},
    {"LinksToFilesCountLinksToFoldersAreNotWalked",
     {"echt/a.mp3", "schleife -> .", "verweis -> echt", "lied.mp3 -> echt/a.mp3",
      "tot.mp3 -> nirgends.mp3"},
     {},
     {"lied.mp3", "echt/a.mp3"}},
    {"NamesThatAreNotUtf8KeepTheirBytesAndSortAsReplacementMarks",
     {"a.mp3", "\xff.mp3", "z.mp3", "y.mp3"},
     {},
     {"a.mp3", "y.mp3", "z.mp3", "\xff.mp3"}},
    {"ArgumentsInTheirOrderFilesOfAnyExtensionEachPathOnce",
     {"notiz.txt", "ordner/b.mp3", "ordner/a.mp3", "c.mp3"},
     Lines{"c.mp3", "ordner/", "notiz.txt", "ordner/a.mp3", "fehlt.mp3"},
     {"c.mp3", "ordner/a.mp3", "ordner/b.mp3", "notiz.txt",
      "unreadable fehlt.mp3: No such file or directory"}},
};

void PrintTo(const TreeCase& treeCase, std::ostream* out) {
    *out << treeCase.name;
}

class Trees : public testing::TestWithParam<TreeCase> {};

TEST_P(Trees, GiveTheirFilesInOrder) {
    TempDir dir;
    MakeTree(dir, GetParam().tree);
    EXPECT_EQ(Describe(dir, Collect(dir, GetParam().arguments)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Collect, Trees, testing::ValuesIn(kTreeCases),
                         [](const auto& test) { return std::string(test.param.name); });

// Permission bits count only for an ordinary user, so the walk runs as one.
// A folder's files are listed by name; whoever opens them finds out the rest.
TEST(Collect, UnreadableFoldersAndNamedFilesAreSkippedAndNamed) {
    TempDir dir;
    MakeTree(dir, {"a.mp3", "gesperrt/b.mp3", "offen/c.mp3", "geheim.mp3"});
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        test::GiveToChildUser(entry.path());
    test::GiveToChildUser(dir.path());
    ::chmod(dir.file("gesperrt").c_str(), 0);
    ::chmod(dir.file("geheim.mp3").c_str(), 0);

    struct Text {
        char lines[512];
    };
    const Text text = test::InChild<Text>(test::ChildUser::unprivileged, [&] {
        std::string joined;
        for (const std::string& line : Describe(dir, Collect(dir, Lines{"geheim.mp3", ""})))
            joined += line + "\n";
        Text result{};
        std::snprintf(result.lines, sizeof result.lines, "%s", joined.c_str());
        return result;
    });
    EXPECT_STREQ(text.lines, "a.mp3\ngeheim.mp3\noffen/c.mp3\n"
                             "unreadable geheim.mp3: Permission denied\n"
                             "unreadable gesperrt: Permission denied\n");
}

} // namespace
} // namespace tagwerk

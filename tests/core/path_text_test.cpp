#include "core/PathText.h"

#include <gtest/gtest.h>

namespace tagwerk {
namespace {

TEST(SplitPath, NameIsAfterTheLastSeparatorAndDirectoryKeepsIt) {
    const struct {
        std::u16string path;
        std::u16string name;
        std::u16string directory;
    } cases[] = {
        {u"/media/usb/Musik/a.mp3", u"a.mp3", u"/media/usb/Musik/"},
        {u"/a.mp3", u"a.mp3", u"/"},
        {u"a.mp3", u"a.mp3", u""},
        {u"", u"", u""},
        {u"/Musik/", u"", u"/Musik/"},
        {u"/Musik//a b.mp3", u"a b.mp3", u"/Musik//"},
        {u"C:\\Musik\\a.mp3", u"C:\\Musik\\a.mp3", u""}, // a backslash is part of a name here
        {u"/Mü sik/Lied – Live.mp3", u"Lied – Live.mp3", u"/Mü sik/"},
    };
    for (const auto& c : cases) {
        const SplitPathResult split = SplitPath(c.path);
        EXPECT_EQ(split.name, c.name);
        EXPECT_EQ(split.directory, c.directory);
        EXPECT_EQ(split.directory + split.name, c.path);
    }
}

TEST(JoinPath, AddsOneSeparatorUnlessTheDirectoryEndsInOne) {
    const struct {
        std::u16string directory;
        std::u16string name;
        std::u16string path;
    } cases[] = {
        {u"/media/usb/Musik", u"a.mp3", u"/media/usb/Musik/a.mp3"},
        {u"/", u"a.mp3", u"/a.mp3"},
        {u"/media/usb/", u"a.mp3", u"/media/usb/a.mp3"},
        {u"", u"a.mp3", u"/a.mp3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.directory, c.name), c.path);
}

TEST(FileCountCaption, OneBlankBeforeTheDigitsAndAlwaysDateien) {
    const struct {
        std::int64_t count;
        std::string caption;
    } cases[] = {
        {0, "( 0 Dateien)"},
        {1, "( 1 Dateien)"},
        {3, "( 3 Dateien)"},
        {12345, "( 12345 Dateien)"},
        {5000000000, "( 5000000000 Dateien)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileCountCaption(c.count), c.caption);
}

} // namespace
} // namespace tagwerk

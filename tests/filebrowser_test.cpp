// The data disk's paths and the file browser over a temporary media tree.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "ent_media.h"
#include "fgdrawbuffer.h"
#include "filebrowser.h"
#include "page_assets.h"

namespace {

int Find(const CFileBrowser& b, const char* name) {
    for (int i = 0; i < b.count; ++i)
        if (std::strcmp(b.entries[static_cast<size_t>(i)].name, name) == 0) return i;
    return -1;
}

void MoveTo(CFileBrowser& b, int row) {
    while (b.cursor > row && b.Prev()) {}
    while (b.cursor < row && b.Next()) {}
    ASSERT_EQ(b.cursor, row);
}

}  // namespace

TEST(DiskRoot, JoinsWithSlashAndRefusesWhatDoesNotFit) {
    char out[8];
    EXPECT_TRUE(JoinDiskPath(out, sizeof out, "c:", "abc"));
    EXPECT_STREQ(out, "c:/abc");
    EXPECT_FALSE(JoinDiskPath(out, sizeof out, "c:", "abcde"));  // 8 bytes with the terminator
    EXPECT_STREQ(out, "");
    SetDiskRoot("/media/disk");
    char host[64];
    EXPECT_TRUE(DiskHostPath("c:", host, sizeof host));
    EXPECT_STREQ(host, "/media/disk");
    EXPECT_TRUE(DiskHostPath("c:/films/a.3gp", host, sizeof host));
    EXPECT_STREQ(host, "/media/disk/films/a.3gp");
    EXPECT_TRUE(DiskHostPath("c:x", host, sizeof host));  // not the disk: taken as it is
    EXPECT_STREQ(host, "c:x");
    EXPECT_FALSE(DiskHostPath("c:/a-name-far-too-long-for-this-buffer-of-sixty-four-bytes-000", host, sizeof host));
    SetDiskRoot(nullptr);
    const char* home = getenv("HOME");
    const std::string saved = home ? home : "";
    setenv("HOME", "/home/pilot", 1);
    EXPECT_STREQ(DiskRoot(), "/home/pilot");
    if (home) setenv("HOME", saved.c_str(), 1);
    else unsetenv("HOME");
}

TEST(FileBrowser, SuffixFilterIgnoresCaseAndLengthOfShortNames) {
    TMediaTree tree;
    for (const char* f : {"clip.3GP", "clip.3gp", "a3gpx.avi", "gp", "notes.txt"}) tree.File(f);
    tree.Dir("films");
    CFileBrowser b(nullptr);
    b.Open(DiskRootName, "3gp");
    EXPECT_TRUE(b.visible);
    EXPECT_EQ(b.count, 3);
    EXPECT_GE(Find(b, "clip.3GP"), 0);
    EXPECT_GE(Find(b, "clip.3gp"), 0);
    EXPECT_GE(Find(b, "films"), 0);  // directories pass the filter
    EXPECT_EQ(Find(b, "a3gpx.avi"), -1);
    EXPECT_EQ(Find(b, "gp"), -1);
    EXPECT_EQ(Find(b, ".."), -1);  // not at the start directory
    EXPECT_FALSE(b.ChangeDir(".."));
    EXPECT_EQ(b.depth, 0);
    b.Open(DiskRootName, nullptr);
    EXPECT_EQ(b.count, 6);
}

TEST(FileBrowser, ChoosingAFileGivesItsHostPath) {
    TMediaTree tree;
    tree.Dir("films");
    tree.File("films/holiday.3gp");
    CFileBrowser b(nullptr);
    b.Open(DiskRootName, "3gp");
    EXPECT_STREQ(b.PathLine(), "Path: ");
    MoveTo(b, Find(b, "films"));
    EXPECT_FALSE(b.Enter());  // a directory is entered
    EXPECT_STREQ(b.currentPath, "c:/films");
    EXPECT_STREQ(b.PathLine(), "Path: /films");
    b.style.flags = 1;
    EXPECT_STREQ(b.PathLine(), "Path: c:/films");
    EXPECT_EQ(b.GetSelected(), nullptr);
    MoveTo(b, Find(b, "holiday.3gp"));
    EXPECT_TRUE(b.Enter());
    EXPECT_EQ(std::string(b.GetSelected()), tree.Path("films/holiday.3gp"));
    b.Next();  // moving clears the choice
    EXPECT_EQ(b.GetSelected(), nullptr);
    b.Close();
    EXPECT_FALSE(b.visible);
    EXPECT_EQ(b.count, 0);
}

TEST(FileBrowser, ParentRestoresTheRowOfEachLevel) {
    TMediaTree tree;
    for (int i = 0; i < 6; ++i) tree.Dir("d" + std::to_string(i));
    for (int i = 0; i < 4; ++i) tree.Dir("d3/e" + std::to_string(i));
    tree.Dir("d3/e2/f");
    CFileBrowser b(nullptr);
    b.Open(DiskRootName, nullptr);
    const int d3 = Find(b, "d3");
    MoveTo(b, d3);
    b.Enter();
    ASSERT_EQ(b.depth, 1);
    EXPECT_EQ(b.cursor, 0);
    const int e2 = Find(b, "e2");
    MoveTo(b, e2);
    b.Enter();
    ASSERT_EQ(b.depth, 2);
    MoveTo(b, Find(b, ".."));
    b.Enter();
    EXPECT_EQ(b.depth, 1);
    EXPECT_EQ(b.cursor, e2);
    MoveTo(b, Find(b, ".."));
    b.Enter();
    EXPECT_EQ(b.depth, 0);
    EXPECT_EQ(b.cursor, d3);
    EXPECT_STREQ(b.currentPath, "c:");
}

TEST(FileBrowser, ListEndsEmptyListsAndShrunkenFolders) {
    TMediaTree tree;
    CFileBrowser b(nullptr);
    b.Open(DiskRootName, nullptr);
    EXPECT_EQ(b.count, 0);
    EXPECT_FALSE(b.Next());  // an empty list stays put
    EXPECT_EQ(b.cursor, 0);
    EXPECT_FALSE(b.Prev());
    EXPECT_FALSE(b.Enter());

    for (int i = 0; i < 5; ++i) tree.Dir("d" + std::to_string(i));
    b.Open(DiskRootName, nullptr);
    MoveTo(b, 4);
    EXPECT_FALSE(b.Next());
    EXPECT_EQ(b.cursor, 4);
    // Enter the last folder, then the folder above shrinks: ".." lands on a row that exists.
    const std::string last = b.entries[4].name;
    b.Enter();
    for (int i = 0; i < 5; ++i)
        if ("d" + std::to_string(i) != last && i != 0) rmdir(tree.Path("d" + std::to_string(i)).c_str());
    MoveTo(b, Find(b, ".."));
    b.Enter();
    EXPECT_EQ(b.count, 2);
    EXPECT_LT(b.cursor, b.count);
}

TEST(FileBrowser, AnUnreadableFolderStillOffersTheWayUp) {
    TMediaTree tree;
    tree.Dir("gone");
    CFileBrowser b(nullptr);
    b.Open(DiskRootName, nullptr);
    ASSERT_EQ(b.count, 1);
    ASSERT_EQ(rmdir(tree.Path("gone").c_str()), 0);
    b.Enter();
    ASSERT_EQ(b.count, 1);
    EXPECT_STREQ(b.entries[0].name, "..");
    b.Enter();
    EXPECT_EQ(b.depth, 0);
    EXPECT_STREQ(b.currentPath, "c:");
}

TEST(FileBrowser, LongNamesAreKeptWholeAndPathsPastTheSystemsLimitSaySo) {
    TMediaTree tree;
    const std::string deep(200, 'd'), inner(60, 'i'), film(std::string(NAME_MAX - 4, 'f') + ".3gp");
    tree.Dir(deep);
    tree.Dir(deep + "/" + inner);
    tree.File(deep + "/" + film);
    CFileBrowser b(nullptr);
    b.Open(DiskRootName, nullptr);
    b.Enter();
    ASSERT_EQ(b.depth, 1);
    MoveTo(b, Find(b, film.c_str()));
    EXPECT_TRUE(b.Enter());
    EXPECT_EQ(std::string(b.GetSelected()), tree.Path(deep + "/" + film));
    MoveTo(b, Find(b, inner.c_str()));
    b.Enter();
    EXPECT_EQ(std::string(b.currentPath), "c:/" + deep + "/" + inner);
    // Past what the system can open, a descent is refused and said in the path line.
    SetDiskRoot(tree.Path(tree.NearTheLimit()).c_str());
    b.Open(DiskRootName, nullptr);
    MoveTo(b, Find(b, TMediaTree::TooDeep.c_str()));
    EXPECT_FALSE(b.Enter());
    EXPECT_STREQ(b.currentPath, "c:");
    EXPECT_STREQ(b.PathLine(), "Path too long");
    MoveTo(b, Find(b, TMediaTree::TooLong.c_str()));
    EXPECT_STREQ(b.PathLine(), "Path: ");
    EXPECT_FALSE(b.Enter());
    EXPECT_STREQ(b.PathLine(), "Path too long");
    b.Prev();
    EXPECT_STREQ(b.PathLine(), "Path: ");
}

TEST(FileBrowser, TwentyRowsScrollAndShowTheMarks) {
    LoadPageAssets();
    TMediaTree tree;
    for (int i = 0; i < 20; ++i) tree.File("clip" + std::to_string(100 + i) + ".3gp");
    FGDrawBuffer win(800, 480, FG_TYPE_BITMAP, 0);
    CFileBrowser b(&win);
    TBrowserStyle style{};
    style.outline = 0xFFFFFF;
    style.background = 0x503228;
    style.text = 0xFFFFFF;
    style.selectedText = 0x32FF32;
    style.selectionFill = 0x0A0A0A;
    b.SetTitle(style);
    EXPECT_NE(b.style.title, nullptr);  // "Select File"
    b.Open(DiskRootName, "3gp");
    ASSERT_EQ(b.count, 20);
    EXPECT_EQ(b.VisibleRows(), 14);
    b.Draw();
    EXPECT_EQ(b.first, 0);
    const int m = (b.w - 40) / 2;
    auto px = [&](int x, int y) { return win.pixels[y * win.width + x]; };
    EXPECT_EQ(px(b.x + m + 20, b.y + b.h - 23), 0xFFFFFFu);  // more rows below
    EXPECT_NE(px(b.x + m + 20, b.y + 53), 0xFFFFFFu);        // none above
    MoveTo(b, 14);
    win.clear(0);
    b.Draw();
    EXPECT_EQ(b.first, 1);
    EXPECT_EQ(px(b.x + m + 20, b.y + 53), 0xFFFFFFu);
    // The selection bar sits on the last shown row.
    EXPECT_EQ(px(b.x + 27, b.y + 60 + 20 * 13 + 10), 0x0A0A0Au);
    b.Close();
    win.clear(0);
    b.Draw();
    EXPECT_EQ(px(b.x + 5, b.y + 5), 0u);  // a closed browser draws nothing
}

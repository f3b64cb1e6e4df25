// Directory and file selection over a temporary tree of the data disk.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ent_media.h"
#include "fgdrawbuffer.h"
#include "keyboard.h"
#include "menu.h"
#include "overlays.h"
#include "page_assets.h"
#include "selectdir.h"

namespace {

int LastResult = 0;
int Results = 0;
void OnResult(int r) {
    LastResult = r;
    ++Results;
}

class SelectDirTest : public ::testing::Test {
protected:
    TMediaTree tree;
    Tklavesnice keys;
    TSelectDir dlg;

    void SetUp() override {
        LastResult = Results = 0;
        dlg.SetKeyboard(&keys);
        dlg.SetResultCallback(OnResult);
    }
    void Press(const char* k) {
        for (; *k; ++k) keys.Dispatch(*k);
    }
    int Index(const char* name) const {
        for (int i = 0; i < dlg.entryCount; ++i) {
            const char* n = i < dlg.dirCount ? dlg.dirs[static_cast<size_t>(i)].name
                                             : dlg.files[static_cast<size_t>(i - dlg.dirCount)].name;
            if (std::strcmp(n, name) == 0) return i;
        }
        return -1;
    }
    void MoveTo(int index) {
        ASSERT_GE(index, 0);
        while (dlg.selected > index) Press("s");
        while (dlg.selected < index) Press("w");
        ASSERT_EQ(dlg.selected, index);
    }
};

}  // namespace

TEST_F(SelectDirTest, OpensOnlyWithCallbackAndKeyboard) {
    TSelectDir bare;
    bare.Open(SelectFile, nullptr);
    EXPECT_EQ(bare.open, 0);
    bare.SetKeyboard(&keys);
    bare.Open(SelectFile, nullptr);
    EXPECT_EQ(bare.open, 0);
    dlg.Open(SelectFile, nullptr);
    EXPECT_EQ(dlg.open, 1);
    EXPECT_STREQ(dlg.currentPath, "c:");
    EXPECT_STREQ(keys.GetKeyLabel('4'), "OK");
    EXPECT_STREQ(keys.GetKeyLabel('5'), "Cancel");
    EXPECT_STREQ(keys.GetKeyLabel('1'), "Select");
}

TEST_F(SelectDirTest, ParentHiddenAtTheRootAndShownBelowIt) {
    tree.Dir("export");
    tree.File("notes.txt");
    dlg.Open(SelectDirectory, nullptr);
    EXPECT_EQ(Index(".."), -1);
    EXPECT_EQ(dlg.dirCount, 1);
    EXPECT_EQ(dlg.entryCount, 2);
    EXPECT_LT(Index("export"), dlg.dirCount);  // directories first
    MoveTo(Index("export"));
    Press("1");
    EXPECT_STREQ(dlg.currentPath, "c:/export");
    EXPECT_EQ(Index(".."), 0);
    EXPECT_EQ(dlg.dirCount, 1);
}

TEST_F(SelectDirTest, DownTwoAndUpTwoRestoreEachLevel) {
    for (int i = 0; i < 20; ++i) tree.Dir("a" + std::to_string(i));
    for (int i = 0; i < 20; ++i) tree.Dir("a17/b" + std::to_string(i));
    tree.Dir("a17/b16/c");
    dlg.Open(SelectDirectory, nullptr);
    FGDrawBuffer win(800, 480, FG_TYPE_BITMAP, 0);
    MoveTo(Index("a17"));
    dlg.Draw(&win);  // settles the scroll position of this level
    const int sel1 = dlg.selected, first1 = dlg.first;
    Press("1");
    MoveTo(Index("b16"));
    dlg.Draw(&win);
    const int sel2 = dlg.selected, first2 = dlg.first;
    Press("1");
    EXPECT_STREQ(dlg.currentPath, "c:/a17/b16");
    MoveTo(Index(".."));
    Press("1");
    EXPECT_EQ(dlg.selected, sel2);
    EXPECT_EQ(dlg.first, first2);
    MoveTo(Index(".."));
    Press("1");
    EXPECT_EQ(dlg.selected, sel1);
    EXPECT_EQ(dlg.first, first1);
    EXPECT_STREQ(dlg.currentPath, "c:");
    EXPECT_TRUE(dlg.cursors.empty());
}

TEST_F(SelectDirTest, ThirtyEntriesScrollWithArrows) {
    LoadPageAssets();
    for (int i = 0; i < 30; ++i) tree.File("f" + std::to_string(100 + i));
    tree.Dir("export");
    dlg.Open(SelectFile, nullptr);
    ASSERT_EQ(dlg.entryCount, 31);
    EXPECT_EQ(dlg.VisibleRows(), 14);
    FGDrawBuffer win(800, 480, FG_TYPE_BITMAP, 0x123456);
    auto px = [&](int x, int y) { return win.pixels[y * win.width + x]; };
    const int lx = dlg.x + 20, ly = dlg.y + 50, lh = dlg.height - 70, c = lx + (dlg.width - 40) / 2;
    Press("s");  // at the first entry: nothing changes
    EXPECT_EQ(dlg.selected, 0);
    dlg.Draw(&win);
    EXPECT_EQ(px(c, ly + lh - 3), 0u);         // down arrow
    EXPECT_EQ(px(c, ly + 3), 0xFFFFFFu);       // no up arrow
    MoveTo(20);
    dlg.Draw(&win);
    EXPECT_EQ(dlg.first, 7);  // the entry at index 20 is the last row shown
    EXPECT_EQ(px(c, ly + 3), 0u);
    EXPECT_EQ(px(c, ly + lh - 3), 0u);
    EXPECT_EQ(px(lx + 6, ly + 10 + 20 * 13 + 10), 0xD2D2E1u);  // selection bar on the last row
    SavePageSnapshot(win, "selectdir_scrolled.bmp");
    MoveTo(30);
    Press("w");  // at the last entry: nothing changes
    EXPECT_EQ(dlg.selected, 30);
    win.clear(0x123456);
    dlg.Draw(&win);
    EXPECT_EQ(px(c, ly + lh - 3), 0xFFFFFFu);  // nothing below
    dlg.open = 0;
    win.clear(0x123456);
    dlg.Draw(&win);
    EXPECT_EQ(px(dlg.x + 2, dlg.y + 2), 0x123456u);  // closed: not drawn
}

TEST_F(SelectDirTest, DirectoryModeGivesTheShownDirectoryAsAHostPath) {
    tree.Dir("export");
    tree.Dir("export/old");
    tree.File("export/setup.dat");
    dlg.Open(SelectDirectory, nullptr);
    MoveTo(Index("export"));
    Press("1");
    MoveTo(Index("old"));  // a row selected, not entered
    Press("4");
    EXPECT_EQ(Results, 1);
    EXPECT_EQ(LastResult, SelectDirOk);
    EXPECT_EQ(dlg.open, 0);
    EXPECT_EQ(std::string(dlg.GetPath()), tree.Path("export") + "/");
}

TEST_F(SelectDirTest, SelectOnAFileConfirmsAndNamesIt) {
    tree.File("checklist.txt");
    dlg.Open(SelectFile, nullptr);
    EXPECT_STREQ(dlg.GetSelectedName(), "checklist.txt");
    Press("1");
    EXPECT_EQ(LastResult, SelectDirOk);
    EXPECT_EQ(std::string(dlg.GetPath()) + dlg.GetSelectedName(), tree.Path("checklist.txt"));
    dlg.Open(SelectFile, nullptr);
    Press("5");
    EXPECT_EQ(LastResult, SelectDirCancel);
}

TEST_F(SelectDirTest, EmptyAndUnreadableListings) {
    dlg.Open(SelectDirectory, nullptr);
    EXPECT_EQ(dlg.entryCount, 0);
    EXPECT_EQ(dlg.GetSelectedName(), nullptr);
    tree.Dir("gone");
    dlg.Open(SelectDirectory, nullptr);
    ASSERT_EQ(dlg.dirCount, 1);
    rmdir(tree.Path("gone").c_str());
    Press("1");
    EXPECT_STREQ(dlg.currentPath, "c:/gone");
    ASSERT_EQ(dlg.entryCount, 1);  // only the way back up
    EXPECT_STREQ(dlg.GetSelectedName(), "..");
    Press("1");
    EXPECT_STREQ(dlg.currentPath, "c:");
    EXPECT_EQ(dlg.entryCount, 0);
    Press("1");  // "Select" in an empty listing confirms the path shown
    EXPECT_EQ(LastResult, SelectDirOk);
}

TEST_F(SelectDirTest, LongNamesAreChosenWholeAndDrawnCutAtTheList) {
    LoadPageAssets();
    const std::string a(120, 'a'), b(120, 'b'), list(NAME_MAX, 'c');
    tree.Dir(a);
    tree.Dir(a + "/" + b);
    tree.File(a + "/" + b + "/" + list);
    dlg.Open(SelectFile, nullptr);
    Press("1");
    MoveTo(Index(b.c_str()));  // "c:/a.../b...": its host path passes 254 characters
    Press("1");
    ASSERT_EQ(std::string(dlg.currentPath), "c:/" + a + "/" + b);
    MoveTo(Index(list.c_str()));
    FGDrawBuffer win(800, 480, FG_TYPE_BITMAP, 0x123456);
    dlg.Draw(&win);
    const int lx = dlg.x + 20, lw = dlg.width - 40, rowY = dlg.y + 60 + 20 * dlg.selected;
    for (int y = rowY; y < rowY + 20; ++y)  // the row stops inside the selection bar
        for (int x : {lx + lw - 4, lx + lw - 2, dlg.x + dlg.width + 1, 799}) EXPECT_NE(win.pixels[y * 800 + x], 0u) << x;
    Press("1");
    EXPECT_EQ(LastResult, SelectDirOk);
    EXPECT_EQ(std::string(dlg.GetPath()) + dlg.GetSelectedName(), tree.Path(a + "/" + b + "/" + list));
    // Past what the system can open, a descent or a file is refused and said in the path line.
    SetDiskRoot(tree.Path(tree.NearTheLimit()).c_str());
    dlg.Open(SelectFile, nullptr);
    MoveTo(Index(TMediaTree::TooDeep.c_str()));
    Press("1");
    EXPECT_STREQ(dlg.notice, "Path too long");
    EXPECT_STREQ(dlg.currentPath, "c:");
    MoveTo(Index(TMediaTree::TooLong.c_str()));
    Press("1");
    EXPECT_STREQ(dlg.notice, "Path too long");
    EXPECT_EQ(dlg.open, 1);
}

TEST(SelectDirLinks, TheProgramsDialogTakesTheSoftKeysAndTheOverlayDrawsIt) {
    TMediaTree tree;
    InstallSelectDirLinks();
    EXPECT_EQ(SelectDirDialog.keyboard, &Keyboard);
    ASSERT_NE(OverlayDialogs.DrawSelectDir, nullptr);
    FGDrawBuffer win(800, 480, FG_TYPE_BITMAP, 0x123456);
    OverlayDialogs.DrawSelectDir(&win);
    EXPECT_EQ(win.pixels[40 * 800 + 160], 0x123456u);  // closed
    SelectDirDialog.SetResultCallback(OnResult);
    SelectDirDialog.Open(SelectDirectory, nullptr);
    OverlayDialogs.DrawSelectDir(&win);
    EXPECT_EQ(win.pixels[40 * 800 + 160], 0xD2D2E1u);  // the panel colour
    Keyboard.Dispatch('5');
    EXPECT_EQ(SelectDirDialog.open, 0);
    Keyboard.Clear();
}

TEST_F(SelectDirTest, EveryListedFolderCanBeEntered) {
    // "c:" as "." keeps host and disk paths equally long: a folder whose path takes all
    // 254 characters is listed and entered.
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(tree.root.c_str()), 0);
    SetDiskRoot(".");
    const std::string full(251, 'x');
    tree.Dir(full);
    dlg.Open(SelectDirectory, nullptr);
    MoveTo(Index(full.c_str()));
    Press("1");
    EXPECT_EQ(std::string(dlg.currentPath), "c:/" + full);
    EXPECT_EQ(std::string(dlg.GetPath()), "./" + full + "/");
    ASSERT_EQ(chdir(old), 0);
    SetDiskRoot(tree.root.c_str());
}

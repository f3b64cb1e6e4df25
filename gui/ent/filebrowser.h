// A modal list of the directories and files below a start directory of the data disk,
// drawn as a framed box and driven by single keys. Going back up with ".." restores
// the row that was selected before.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "diskroot.h"
#include "drawbase.h"

// Title and colours (0x00RRGGBB). A null title reads "Select File".
struct TBrowserStyle {
    const char* title;
    uint32_t flags;          // bit 0: the path line shows the full path
    uint32_t outline;
    uint32_t background;
    uint32_t spare;          // not read
    uint32_t text;
    uint32_t selectedText;
    uint32_t selectionFill;
};

// One listed name: directory flag and the whole name (it is only drawn cut).
struct TBrowserEntry {
    uint8_t directory;
    char name[DiskNameSize];
};
static_assert(sizeof(TBrowserEntry) == 1 + DiskNameSize, "a flag and any name");

class CFileBrowser : public CDraw {
public:
    bool visible = false;
    TBrowserStyle style{};
    const char* startDir = "/";
    const char* filter = nullptr;     // file-name suffix; null lists every file
    char textBuffer[256] = {};
    char currentPath[DiskPathSize] = {};   // disk path, '/' separated
    char fullPath[DiskPathSize] = {};      // host path of the chosen file
    char chosenName[DiskNameSize] = {};
    const char* notice = nullptr;          // shown in place of the path until the next move
    int baseLength = 0;
    int currentLength = 0;
    bool selected = false;
    int count = 0;
    int cursor = 0;
    int first = 0;
    int depth = 0;
    std::vector<TBrowserEntry> entries;
    std::vector<std::pair<int, int>> positions;  // (cursor, first) of each level above

    explicit CFileBrowser(FGDrawBuffer* win);
    ~CFileBrowser() override;

    void SetTitle(const TBrowserStyle& s);
    void Open(const char* start, const char* suffix);
    void Close();
    bool Next();
    bool Prev();
    // True when a file was chosen; a directory is entered instead. A path the system
    // cannot open is refused with a notice.
    bool Enter();
    const char* GetSelected() const;
    // True only for a successful "..". A descent whose path would not fit is refused
    // with a notice.
    bool ChangeDir(const char* name);
    void Read(const char* path);
    void Clear();
    void Draw() override;
    // Rows that fit in the list (0: every row fits).
    int VisibleRows() const;
    // "Path: " and the path below the start directory (the whole path with style flag 0x1),
    // or the notice.
    const char* PathLine();
};

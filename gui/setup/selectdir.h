// The directory and file selection dialog of the data-port actions: the user walks the
// data disk "c:" with the soft keys and picks a directory (exports) or a file (imports).
// One object for the whole run; the overlay painter draws it while it is open.
#pragma once

#include <cstdint>
#include <vector>

#include "diskroot.h"

class FGDrawBuffer;
class Tklavesnice;

// The whole name: it is only drawn cut.
struct DIR_ENTRY {
    char name[DiskNameSize];
};
static_assert(sizeof(DIR_ENTRY) == DiskNameSize, "any name and its terminator");

struct CURSOR_MEMORY {
    int32_t selected;
    int32_t first;
};
static_assert(sizeof(CURSOR_MEMORY) == 8, "two indexes");

// Result codes given to the result callback.
enum { SelectDirOk = 1, SelectDirCancel = 2 };
// Modes of Open.
enum { SelectDirectory = 0, SelectFile = 1 };

class TSelectDir {
public:
    int32_t x = 150, y = 30, width = 500, height = 380;
    int32_t mode = SelectDirectory;
    const char* rootPath = nullptr;
    const char* title = nullptr;
    char currentPath[DiskPathSize] = {};  // disk path, '/' separated ("c:/a/b")
    char resultPath[DiskPathSize] = {};   // host path with a trailing '/'
    uint8_t open = 0;
    const char* notice = nullptr;  // shown in place of the path until the next key
    void (*resultCallback)(int) = nullptr;
    Tklavesnice* keyboard = nullptr;
    int32_t entryCount = 0;
    int32_t dirCount = 0;
    int32_t selected = 0;
    int32_t first = 0;
    std::vector<DIR_ENTRY> dirs;
    std::vector<DIR_ENTRY> files;
    std::vector<CURSOR_MEMORY> cursors;

    TSelectDir() = default;
    ~TSelectDir() = default;
    TSelectDir(const TSelectDir&) = delete;
    TSelectDir& operator=(const TSelectDir&) = delete;

    void SetKeyboard(Tklavesnice* k) { keyboard = k; }
    void SetResultCallback(void (*callback)(int)) { resultCallback = callback; }
    void Open(int newMode, const char* newTitle);
    void OnKey(int event);
    void BindKeys();
    void MoveUp();
    void MoveDown();
    void Enter();
    // 1 went down into the entry (or none was given), 0 went up, -1 refused with a
    // notice: the path would pass what the system can open.
    int AppendPath(const DIR_ENTRY* entry);
    // Lists the path; the number of directories (0 when it cannot be read).
    int Read(const char* path);
    // The host path of the directory shown, ending in '/'.
    const char* GetPath();
    // The selected entry's name; null for an empty listing.
    const char* GetSelectedName() const;
    void Draw(FGDrawBuffer* buffer);
    // Rows shown at once when the listing does not fit (0: it fits).
    int VisibleRows() const;
};

// The dialog of the display program.
extern TSelectDir SelectDirDialog;
// Start-up: the dialog gets the soft-key table, and the overlay painter draws it.
void InstallSelectDirLinks();

#include "selectdir.h"

#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "checklist.h"
#include "entdraw.h"
#include "fgdrawbuffer.h"
#include "keyboard.h"
#include "menu.h"
#include "overlays.h"

TSelectDir SelectDirDialog;

namespace {

constexpr int RowHeight = 20;
constexpr int FontBody = 10, FontTitle = 11;  // font roles of the overlays
constexpr uint32_t PanelColour = Rgb(210, 210, 225);

// The dialog whose keys are bound.
TSelectDir* KeyOwner = nullptr;

void SelectDirKey(int32_t event) {
    if (KeyOwner) KeyOwner->OnKey(event);
}

void CopyName(char* out, size_t size, const char* name) { std::snprintf(out, size, "%s", name); }

}  // namespace

void TSelectDir::Open(int newMode, const char* newTitle) {
    if (!resultCallback || !keyboard) return;
    mode = newMode;
    title = newTitle;
    open = 1;
    BindKeys();
    rootPath = DiskRootName;
    notice = nullptr;
    cursors.clear();
    selected = first = 0;
    CopyName(currentPath, sizeof currentPath, rootPath);
    Read(currentPath);
}

void TSelectDir::OnKey(int event) {
    notice = nullptr;
    // A file whose path the system cannot open is not given to the import.
    if (event == 1 && mode == SelectFile && selected >= dirCount && selected < entryCount &&
        std::strlen(GetPath()) + std::strlen(GetSelectedName()) >= DiskPathSize) {
        notice = gettext("Path too long");
        return;
    }
    switch (event) {
        case 1:
        case 2:
            open = 0;
            if (resultCallback) resultCallback(event == 1 ? SelectDirOk : SelectDirCancel);
            break;
        case 3: Enter(); break;
        case 4: MoveUp(); break;
        case 5: MoveDown(); break;
        default: break;
    }
}

void TSelectDir::BindKeys() {
    if (!keyboard) return;
    KeyOwner = this;
    keyboard->BindNone(KeySet<KeyLeftPush, KeySoft1, KeySoft2, KeyLeftTurnRight, KeyLeftTurnLeft>);
    keyboard->Bind(KeySoft3, LabelOk, SelectDirKey, 1);
    keyboard->Bind(KeySoft4, LabelCancel, SelectDirKey, 2);
    keyboard->Bind(KeyRightPush, LabelSelect, SelectDirKey, 3);
    keyboard->Bind(KeyRightTurnLeft, 0, SelectDirKey, 4);
    keyboard->Bind(KeyRightTurnRight, 0, SelectDirKey, 5);
}

void TSelectDir::MoveUp() {
    if (selected > 0) --selected;
    if (selected < first) first = selected;
}

void TSelectDir::MoveDown() {
    if (selected < entryCount - 1) ++selected;
}

void TSelectDir::Enter() {
    if (selected < 0 || selected >= dirCount) {
        OnKey(1);
        return;
    }
    DIR_ENTRY entry = dirs[static_cast<size_t>(selected)];  // the lists are rebuilt below
    switch (AppendPath(&entry)) {
        case 1:
            cursors.push_back({selected, first});
            selected = first = 0;
            break;
        case 0:
            if (cursors.empty()) {
                selected = first = 0;
            } else {
                selected = cursors.back().selected;
                first = cursors.back().first;
                cursors.pop_back();
            }
            break;
        default:  // too deep: stay where we are
            break;
    }
    Read(currentPath);
}

int TSelectDir::AppendPath(const DIR_ENTRY* entry) {
    if (!entry) return 1;
    if (std::strcmp(entry->name, "..") == 0) {
        if (char* cut = std::strrchr(currentPath, '/')) *cut = '\0';
        return 0;
    }
    // The descent must leave room for the result's trailing '/' in both paths.
    char next[DiskPathSize - 1], host[DiskPathSize - 1];
    if (!JoinDiskPath(next, sizeof next, currentPath, entry->name) || !DiskHostPath(next, host, sizeof host)) {
        notice = gettext("Path too long");
        return -1;
    }
    CopyName(currentPath, sizeof currentPath, next);
    return 1;
}

int TSelectDir::Read(const char* path) {
    entryCount = dirCount = 0;
    dirs.clear();
    files.clear();
    const bool atRoot = !rootPath || std::strlen(currentPath) <= std::strlen(rootPath);
    ListDiskDir(path, atRoot, [this](const char* name, bool directory) {
        DIR_ENTRY e{};
        CopyName(e.name, sizeof e.name, name);
        (directory ? dirs : files).push_back(e);
    });
    dirCount = static_cast<int32_t>(dirs.size());
    entryCount = dirCount + static_cast<int32_t>(files.size());
    // The folder may have changed since its position was kept.
    selected = std::clamp(selected, 0, std::max(entryCount - 1, 0));
    first = std::clamp(first, 0, selected);
    return dirCount;
}

const char* TSelectDir::GetPath() {
    char host[DiskPathSize];
    if (!DiskHostPath(currentPath, host, sizeof host) || !JoinDiskPath(resultPath, sizeof resultPath, host, ""))
        resultPath[0] = '\0';
    return resultPath;
}

const char* TSelectDir::GetSelectedName() const {
    if (selected < 0 || selected >= entryCount) return nullptr;
    if (selected < dirCount) return dirs[static_cast<size_t>(selected)].name;
    return files[static_cast<size_t>(selected - dirCount)].name;
}

int TSelectDir::VisibleRows() const {
    const int listHeight = height - 70;
    if (static_cast<int64_t>(entryCount) * RowHeight <= listHeight - 20) return 0;
    return std::max((listHeight - 20) / RowHeight, 1);
}

void TSelectDir::Draw(FGDrawBuffer* buffer) {
    if (!open || !buffer) return;
    const unsigned savedMode = buffer->get_mode();
    buffer->fillbox(x, y, width, height, PanelColour);
    buffer->box(x, y, width, height, 0);

    buffer->set_mode(0);
    if (!title) title = mode == SelectFile ? gettext("Select file:") : gettext("Select directory:");
    UseFont(buffer, OverlayRoleFont(FontTitle));
    buffer->text(x + (width - TextWidth(buffer->get_font(), title)) / 2, y + 10, title, 0, PanelColour);
    UseFont(buffer, OverlayRoleFont(FontBody));
    char text[DiskShownLength + 64];
    if (notice)
        std::snprintf(text, sizeof text, "%s", notice);
    else
        std::snprintf(text, sizeof text, "%s: %.*s", gettext("Path"), DiskShownLength, currentPath);
    // Long paths and names end at the list's right edge.
    KeyedTextIn(buffer, x + 20, y + 30, text, 0, x, y, width - 20, height);

    const int lx = x + 20, ly = y + 50, lw = width - 40, lh = height - 70;
    buffer->fillbox(lx, ly, lw, lh, 0xFFFFFF);
    buffer->box(lx, ly, lw, lh, 0);
    if (entryCount <= 0) {
        buffer->set_mode(savedMode);
        return;
    }
    const int rows = VisibleRows();
    int last = entryCount;
    if (rows > 0) {
        if (rows < selected + 1 - first) first = selected + 1 - rows;
        first = std::clamp(first, 0, entryCount - 1);
        last = std::min(first + rows, entryCount);
    } else {
        first = 0;
    }
    buffer->fillbox(lx + 5, ly + 10 + RowHeight * (selected - first), width - 50, RowHeight, PanelColour);
    buffer->box(lx + 5, ly + 10 + RowHeight * (selected - first), width - 50, RowHeight, 0);
    const int c = lx + (width - 40) / 2;
    if (last < entryCount) {
        buffer->line(c - 10, ly + lh - 7, c, ly + lh - 3, 0);
        buffer->line(c, ly + lh - 3, c + 10, ly + lh - 7, 0);
    }
    if (first > 0) {
        buffer->line(c - 10, ly + 7, c, ly + 3, 0);
        buffer->line(c, ly + 3, c + 10, ly + 7, 0);
    }
    for (int i = first; i < last; ++i) {
        if (i < dirCount)
            std::snprintf(text, sizeof text, "[%.*s]", DiskShownLength - 1, dirs[static_cast<size_t>(i)].name);
        else
            std::snprintf(text, sizeof text, "%.*s", DiskShownLength, files[static_cast<size_t>(i - dirCount)].name);
        KeyedTextIn(buffer, lx + 10, ly + 10 + RowHeight * (i - first), text, 0, lx + 6, ly, width - 52, lh);
    }
    buffer->set_mode(savedMode);
}

void InstallSelectDirLinks() {
    SelectDirDialog.SetKeyboard(&Keyboard);
    OverlayDialogs.DrawSelectDir = [](FGDrawBuffer* window) { SelectDirDialog.Draw(window); };
}

#include "filebrowser.h"

#include <libintl.h>
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "entdraw.h"
#include "fgdrawbuffer.h"

namespace {

constexpr int RowHeight = 20;

bool EndsWithNoCase(const char* name, const char* suffix) {
    const size_t n = std::strlen(name), s = std::strlen(suffix);
    return n >= s && strncasecmp(name + n - s, suffix, s) == 0;
}

void CopyName(char* out, size_t size, const char* name) { std::snprintf(out, size, "%s", name); }

}  // namespace

CFileBrowser::CFileBrowser(FGDrawBuffer* win) : CDraw(win, 150, 30, 500, 380) {}

CFileBrowser::~CFileBrowser() { Clear(); }

void CFileBrowser::SetTitle(const TBrowserStyle& s) {
    style = s;
    if (!style.title || !*style.title) style.title = gettext("Select File");
}

void CFileBrowser::Open(const char* start, const char* suffix) {
    startDir = start ? start : "/";
    filter = suffix && *suffix ? suffix : nullptr;
    visible = true;
    selected = false;
    depth = 0;
    CopyName(currentPath, sizeof currentPath, startDir);
    baseLength = currentLength = static_cast<int>(std::strlen(currentPath));
    Clear();
    Read(currentPath);
}

void CFileBrowser::Close() {
    visible = false;
    Clear();
}

bool CFileBrowser::Next() {
    selected = false;
    notice = nullptr;
    if (cursor >= count - 1) return false;
    ++cursor;
    return true;
}

bool CFileBrowser::Prev() {
    selected = false;
    notice = nullptr;
    if (cursor <= 0) return false;
    --cursor;
    if (cursor < first) first = cursor;
    return true;
}

bool CFileBrowser::Enter() {
    notice = nullptr;
    if (count <= 0 || cursor < 0 || cursor >= count) return false;
    const TBrowserEntry& e = entries[static_cast<size_t>(cursor)];
    if (e.directory) {
        selected = false;
        char name[DiskNameSize];
        CopyName(name, sizeof name, e.name);  // the list is rebuilt below
        ChangeDir(name);
        Read(currentPath);
        return false;
    }
    char host[DiskPathSize];
    if (!DiskHostPath(currentPath, host, sizeof host) || !JoinDiskPath(fullPath, sizeof fullPath, host, e.name)) {
        notice = gettext("Path too long");
        return false;
    }
    CopyName(chosenName, sizeof chosenName, e.name);
    selected = true;
    return true;
}

const char* CFileBrowser::GetSelected() const { return selected ? fullPath : nullptr; }

bool CFileBrowser::ChangeDir(const char* name) {
    bool up = false;
    if (name && std::strcmp(name, "..") == 0) {
        if (depth > 0) {
            --depth;
            if (char* cut = std::strrchr(currentPath, '/')) *cut = '\0';
            if (positions.empty()) {
                cursor = first = 0;
            } else {
                cursor = positions.back().first;
                first = positions.back().second;
                positions.pop_back();
            }
            up = true;
        }
    } else if (name && *name) {
        char next[DiskPathSize], host[DiskPathSize];
        // A level that does not fit is not entered: the path never loses a level.
        if (JoinDiskPath(next, sizeof next, currentPath, name) && DiskHostPath(next, host, sizeof host)) {
            ++depth;
            CopyName(currentPath, sizeof currentPath, next);
            positions.emplace_back(cursor, first);
            cursor = first = 0;
        } else {
            notice = gettext("Path too long");
        }
    }
    currentLength = static_cast<int>(std::strlen(currentPath));
    return up;
}

void CFileBrowser::Read(const char* path) {
    count = 0;
    entries.clear();
    ListDiskDir(path, depth <= 0, [this](const char* name, bool directory) {
        if (!directory && filter && !EndsWithNoCase(name, filter)) return;
        TBrowserEntry e{};
        e.directory = directory ? 1 : 0;
        CopyName(e.name, sizeof e.name, name);
        entries.push_back(e);
    });
    count = static_cast<int>(entries.size());
    // The folder may have changed since its position was kept.
    cursor = std::clamp(cursor, 0, std::max(count - 1, 0));
    first = std::clamp(first, 0, cursor);
}

void CFileBrowser::Clear() {
    selected = false;
    notice = nullptr;
    count = cursor = first = 0;
    entries.clear();
    positions.clear();
}

int CFileBrowser::VisibleRows() const {
    if (static_cast<int64_t>(count) * RowHeight <= h - 90) return 0;
    return std::max((h - 90) / RowHeight, 1);
}

const char* CFileBrowser::PathLine() {
    if (notice) return notice;
    const bool full = (style.flags & 1) || currentLength < baseLength;
    const char* shown = full ? currentPath : currentPath + std::min<size_t>(baseLength, std::strlen(currentPath));
    std::snprintf(textBuffer, sizeof textBuffer, "%s: %s", gettext("Path"), shown);
    return textBuffer;
}

void CFileBrowser::Draw() {
    FGDrawBuffer* win = window;
    if (!visible || !win) return;
    win->fillbox(x, y, w, h, style.background);
    win->box(x, y, w, h, style.outline);

    const int titleFont = NominalFont(23);
    UseFont(win, titleFont);
    const char* title = style.title ? style.title : gettext("Select File");
    KeyedText(win, x + (w - TextWidth(titleFont, title)) / 2, y + 10, title, style.text);

    UseFont(win, NominalFont(20));
    // Long paths and names end at the list's right edge.
    KeyedTextIn(win, x + 20, y + 30, PathLine(), style.text, x, y, w - 20, h);

    win->box(x + 20, y + 50, w - 40, h - 70, style.text);
    if (count <= 0) return;

    const int rows = VisibleRows();
    int last = count - 1;
    if (rows > 0) {
        if (cursor > first + rows - 1) first = cursor - rows + 1;
        first = std::clamp(first, 0, count - 1);
        last = std::min(first + rows - 1, count - 1);
    } else {
        first = 0;
    }
    win->fillbox(x + 25, y + 60 + RowHeight * (cursor - first), w - 50, RowHeight, style.selectionFill);
    win->box(x + 25, y + 60 + RowHeight * (cursor - first), w - 50, RowHeight, style.outline);

    const int m = (w - 40) / 2;
    if (last < count - 1) {
        win->line(x + m + 10, y + h - 27, x + m + 20, y + h - 23, style.text);
        win->line(x + m + 20, y + h - 23, x + m + 30, y + h - 27, style.text);
    }
    if (first > 0) {
        win->line(x + m + 10, y + 57, x + m + 20, y + 53, style.text);
        win->line(x + m + 20, y + 53, x + m + 30, y + 57, style.text);
    }
    for (int i = first; i <= last; ++i) {
        const TBrowserEntry& e = entries[static_cast<size_t>(i)];
        if (e.directory)
            std::snprintf(textBuffer, sizeof textBuffer, "[%.*s]", DiskShownLength - 1, e.name);
        else
            std::snprintf(textBuffer, sizeof textBuffer, "%.*s", DiskShownLength, e.name);
        KeyedTextIn(win, x + 30, y + 60 + RowHeight * (i - first), textBuffer,
                    i == cursor ? style.selectedText : style.text, x + 26, y + 50, w - 52, h - 70);
    }
}

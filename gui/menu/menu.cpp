#include "menu.h"

#include <libintl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "configmanager.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkutils.h"
#include "keyboard.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"

// The menu and the soft-key table, in this order: the keyboard refers to the menu and
// goes first at exit.
ThlavniMenu MainMenu;
Tklavesnice Keyboard;

namespace {

constexpr int ScreenHeight = 480;
constexpr int RowHeight = 20;
constexpr int CharWidth = 8;  // the width rule assumes a font no wider than this
constexpr int MenuDeadlineSeconds = 5;

constexpr FGPixel BoxFill = 0xA8B8AC;          // (168, 184, 172)
constexpr FGPixel BoxFrame = 0x000000;
constexpr FGPixel TextInk = 0x000000;
constexpr FGPixel SelectedInk = 0xFFFFFF;
constexpr FGPixel GreyedInk = 0x888888;        // (136, 136, 136)
constexpr FGPixel GreyedSelectedInk = 0x777777;  // (119, 119, 119)
constexpr FGPixel BarFill = 0x585858;          // (88, 88, 88)
constexpr FGPixel BarFrame = 0xFCE000;         // (252, 224, 0)

// Sensor names that device type 30 shows in setup mode.
constexpr int AltTextFirst = 201, AltTextLast = 226, AltTextShift = 27;
constexpr int AltDeviceType = DeviceEms;

const TTraceOrigin MenuOrigin = {"Error: ", "gui/menu", nullptr, 0};

void MenuError(const char* text) { TraceLog(&MenuOrigin, "%s", text); }

// The towing-menu switch: bit 8 of the runtime display word.
constexpr int32_t ScreenWordTowingMenu = 0x100;

// The translated text of an item; "" for the empty text.
const char* ItemText(const TMenuItem* item) {
    const char* text = MenuTextOf(DrawnTextId(item->textId));
    return *text ? gettext(text) : "";
}

// The language the settings ask for, applied when it changed (one try per value).
void CheckLanguage() {
    static int tried = -1;
    const int wanted = LanguageSetting.languageId;
    if (wanted == LanguageId || wanted == tried) return;
    tried = wanted;
    SetLanguage(wanted);
}

}  // namespace

// ---------------------------------------------------------------- table look-ups

const TMenuItem* FindItem(int itemId) {
    for (const TMenuItem* row = MenuItems; row->id != -1; ++row)
        if (row->id == itemId) return row;
    return nullptr;
}

const TMenuPage* FindPage(int pageId) {
    for (const TMenuPage* row = MenuPages; row->id != -1; ++row)
        if (row->id == pageId) return row;
    return nullptr;
}

const TMenuText* FindText(int textId) {
    for (const TMenuText* row = MenuTexts; row->id != -1; ++row)
        if (row->id == textId) return row;
    return nullptr;
}

const char* MenuTextOf(int textId) {
    const TMenuText* row = FindText(textId);
    return row ? MenuTextPool + row->offset : "";
}

int DrawnTextId(int textId) {
    if (SetupModeActive && DeviceID == AltDeviceType && textId >= AltTextFirst && textId <= AltTextLast)
        return textId + AltTextShift;
    return textId;
}

void RenewMenuDeadline() {
    int64_t sec = 0;
    int32_t usec = 0;
    if (RefreshClock) RefreshClock(&sec, &usec);  // none: the menu closes at the next refresh
    MenuCloseTime = SatInt32(sec + MenuDeadlineSeconds);
}

// ---------------------------------------------------------------- item states

int MenuItemState(const TMenuItem* item, int /*pageId*/) {
    if (!item) return 0;
    switch (item->id) {
        case ItemTerrainOn: return DisplaySetting.terrainView != 0;
        case ItemTerrainOff: return DisplaySetting.terrainView == 0;
        case ItemHighwayOn: return DisplaySetting.path3d != 0;
        case ItemHighwayOff: return DisplaySetting.path3d == 0;
        case ItemTowingMenuOn: return (DisplaySetting.screenWord & ScreenWordTowingMenu) != 0;
        case ItemTowingMenuOff: return (DisplaySetting.screenWord & ScreenWordTowingMenu) == 0;
        case ItemCanA:
        case ItemCanB: return 0;
        default: return 1;
    }
}

// ---------------------------------------------------------------- the menu

void ThlavniMenu::SetGeometry(int x, int y, int minWidth, int maxHeight, int leftX) {
    geoX = x;
    geoY = y;
    geoMinWidth = minWidth;
    geoMaxHeight = maxHeight;
    geoLeftX = leftX;
}

void ThlavniMenu::Show(int openFlag) {
    open = openFlag ? 1 : 0;
    MenuOpen = open;
    if (open) {
        RenewMenuDeadline();
        return;
    }
    while (PopPage()) {
    }
    left = 0;
    box = TMenuBox{};
}

int ThlavniMenu::OpenPage(int pageId) {
    const TMenuPage* page = FindPage(pageId);
    if (!page) return -1;
    PushPage(page);
    return 0;
}

int ThlavniMenu::EntryState(int index) {
    if (!current.list || index < 0 || index >= current.itemCount) return -1;
    const TMenuItem* item = FindItem(current.list[index]);
    if (!item) return -1;
    return itemState ? (itemState(item, current.pageId) & static_cast<int>(item->stateMask)) : 0;
}

namespace {

bool Visible(int state) { return state >= 0 && !(state & MenuStateHidden); }

// Entries of a list up to its end mark; at most limit.
int ListLength(const int16_t* list, int limit) {
    int n = 0;
    while (n < limit && list[n] != -1) ++n;
    return n;
}

}  // namespace

int ThlavniMenu::PushPage(const TMenuPage* page) {
    if (!page) return -1;
    if (open) stack.push_back(current);
    current = TmemoryMenu{};
    current.pageId = page->id;
    current.listOffset = page->listOffset;
    current.list = page->list;
    current.handler = page->handler;
    current.handler2 = page->handler2;
    // A list of the pool ends at the pool's end at the latest.
    int limit = INT32_MAX;
    if (!current.list && current.listOffset >= 0 && current.listOffset < MenuItemPoolSize) {
        current.list = MenuItemPool + current.listOffset;
        limit = MenuItemPoolSize - current.listOffset;
    }
    if (current.pageId != 0 && current.list) {
        current.itemCount = ListLength(current.list, limit);
        for (int i = 0; i < current.itemCount; ++i)
            if (Visible(EntryState(i))) ++current.visibleCount;
    }
    current.selected = GetNearestItem(0, MenuForward, 1);
    current.selectedRow = 0;
    current.firstVisible = 0;
    box = open ? ComputeBox() : TMenuBox{};
    return 0;
}

int ThlavniMenu::PopPage() {
    if (stack.empty()) return 0;
    current = stack.back();
    stack.pop_back();
    return 1;
}

int ThlavniMenu::ReplacePage(int pageId, int newPageId) {
    if (current.pageId != pageId) return 0;
    PopPage();
    OpenPage(newPageId);
    return 1;
}

int ThlavniMenu::NearestOneWay(int start, int direction) {
    if (direction != MenuForward && direction != MenuBackward) {
        MenuError("Invalid direction!");
        return 0;
    }
    for (int i = start; i >= 0 && i < current.itemCount && current.list[i] != -1; i += direction)
        if (Visible(EntryState(i))) return i;
    return -1;
}

int ThlavniMenu::GetNearestItem(int start, int direction, int tryOther) {
    if (direction != MenuForward && direction != MenuBackward) {
        MenuError("Invalid preferred_dir! Not doing a thing ...");
        return current.selected;
    }
    if (current.itemCount <= 0 || !current.list) return 0;  // no list: nothing to search
    const int last = current.itemCount - 1;
    start = std::clamp(start, 0, last);
    int found = NearestOneWay(start, direction);
    if (found == -1 && tryOther) found = NearestOneWay(start, -direction);
    if (found == -1) found = 0;
    return std::clamp(found, 0, last);
}

void ThlavniMenu::Next() {
    RenewMenuDeadline();
    if (current.itemCount <= 0) return;
    const int was = current.selected;
    current.selected = GetNearestItem(was + 1, MenuForward, 1);
    if (current.selected > was) ++current.selectedRow;
    if (current.selected < was) --current.selectedRow;
}

void ThlavniMenu::Prev() {
    RenewMenuDeadline();
    if (current.itemCount <= 0) return;
    const int was = current.selected;
    current.selected = GetNearestItem(was - 1, MenuBackward, 1);
    if (current.selected > was) ++current.selectedRow;
    if (current.selected < was) --current.selectedRow;
    if (current.selectedRow < 0) current.selectedRow = 0;
    if (current.selectedRow < current.firstVisible) current.firstVisible = current.selectedRow;
}

int ThlavniMenu::SelectedItem() const {
    if (!current.list || current.selected < 0 || current.selected >= current.itemCount) return 0;
    return current.list[current.selected];
}

void ThlavniMenu::Activate() {
    RenewMenuDeadline();
    const int itemId = SelectedItem();
    const TMenuItem* item = itemId ? FindItem(itemId) : nullptr;
    if (!item) return;
    // A hidden item may still be selected when the settings changed after the push.
    if (EntryState(current.selected) & (MenuStateHidden | MenuStateGreyed)) return;
    // The handlers push, pop and close the menu: nothing below refers into the stack.
    const int pageId = current.pageId;
    const int subPage = item->subPage;
    const TMenuHandler pageHandler = current.handler;
    const TMenuHandler globalHandler = action;
    if (subPage)
        OpenPage(subPage);
    else if (pageHandler)
        pageHandler(pageId, itemId);
    else if (globalHandler)
        globalHandler(pageId, itemId);
    if (itemId == ItemBack) PopPage();
}

namespace {

// The toolkit's menu font is Windows-1252: Russian takes the Cyrillic text font, Czech the
// Windows-1250 twin of the menu font's face.
int TextFont(int menuFont) {
    if (LanguageFontSet == FontSetCyrillic) return DisplayFonts[FontMsRefSans16];
    return LanguageId == LanguageCzech ? LanguageTextFont(LanguageId) : menuFont;
}

}  // namespace

TMenuBox ThlavniMenu::ComputeBox() {
    TMenuBox b;
    b.height = std::min(RowHeight * current.visibleCount + RowHeight, geoMaxHeight);
    int longest = 0, widest = 0;
    const int textFont = TextFont(font);
    for (int i = 0; i < current.itemCount; ++i) {
        if (!Visible(EntryState(i))) continue;
        const char* text = ItemText(FindItem(current.list[i]));
        longest = std::max(longest, static_cast<int>(std::strlen(text)));
        // A font wider than the rule (Cyrillic) widens the box to its text.
        if (FGFontManager::is_font(textFont)) widest = std::max(widest, FGFontManager::textwidth(textFont, text));
    }
    const int content = std::max(CharWidth * longest, widest + 5) + 20;
    b.width = std::max(geoMinWidth, content);
    b.x = left ? geoLeftX : geoX;
    if (b.width > geoMinWidth && !left) b.x -= b.width - geoMinWidth;
    b.top = ScreenHeight - geoY - b.height;
    return b;
}

void ThlavniMenu::Draw(FGDrawBuffer* target) {
    surface = target;
    if (!target) return;
    if (!open) {
        current.firstVisible = 0;
        return;
    }
    if (current.pageId == 0 || current.itemCount <= 0 || current.visibleCount <= 0 || !current.list ||
        geoMinWidth < 40 || geoMaxHeight < 40)
        return;
    CheckLanguage();

    box = ComputeBox();
    const TMenuBox b = box;
    // The window's own drawing state is kept for whoever draws next.
    const unsigned savedMode = target->get_mode();
    const int savedFont = target->get_font();
    const int lineWidth = target->get_line_width();
    target->set_mode(DrawModeCopy);
    target->fillbox(b.x, b.top, b.width, b.height, BoxFill);
    target->box(b.x, b.top, b.width, b.height, BoxFrame);

    const int capacity = RowHeight * current.visibleCount > b.height - RowHeight
                             ? (b.height - RowHeight) / RowHeight
                             : current.visibleCount;
    if (current.selectedRow - current.firstVisible + 1 > capacity)
        current.firstVisible = current.selectedRow - capacity + 1;
    current.firstVisible = std::max(0, std::min(current.firstVisible, current.visibleCount - 1));

    const int textFont = TextFont(font);
    if (FGFontManager::is_font(textFont)) target->set_font(textFont);
    int visibleIndex = 0, drawn = 0, visibleAfter = 0;
    for (int i = 0; i < current.itemCount; ++i) {
        const int state = EntryState(i);
        if (!Visible(state)) continue;
        const int index = visibleIndex++;
        if (index < current.firstVisible) continue;
        if (drawn >= capacity) {
            ++visibleAfter;
            continue;
        }
        const bool greyed = (state & MenuStateGreyed) != 0;
        const int rowTop = b.top + RowHeight * drawn;
        const char* text = ItemText(FindItem(current.list[i]));
        if (i == current.selected) {
            target->fillbox(b.x + 5, rowTop + 10, b.width - 10, RowHeight, BarFill);
            target->box(b.x + 5, rowTop + 10, b.width - 10, RowHeight, BarFrame);
            if (*text) target->text(b.x + 10, rowTop + 12, text, greyed ? GreyedSelectedInk : SelectedInk, BarFill);
        } else if (*text) {
            target->text(b.x + 10, rowTop + 12, text, greyed ? GreyedInk : TextInk, BoxFill);
        }
        ++drawn;
    }

    // Scroll marks: chevrons two pixels wide.
    const int centre = b.x + b.width / 2;
    const int bottom = b.top + b.height;
    target->set_line_width(2);
    if (current.firstVisible > 0) {
        target->line(centre - 10, b.top + 7, centre, b.top + 3, BoxFrame);
        target->line(centre, b.top + 3, centre + 10, b.top + 7, BoxFrame);
    }
    if (visibleAfter > 0) {
        target->line(centre - 10, bottom - 7, centre, bottom - 3, BoxFrame);
        target->line(centre, bottom - 3, centre + 10, bottom - 7, BoxFrame);
    }
    target->set_line_width(lineWidth);
    target->set_font(savedFont);
    target->set_mode(savedMode);
}

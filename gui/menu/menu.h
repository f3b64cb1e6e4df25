// The table-driven menu: one pop-up list box in the lower right corner of the main
// window, driven by three constant tables (texts, items, pages). The global menu
// object keeps the page shown, the stack of pages behind it and the selection; the
// soft keys and key callbacks move it. Two panels of the main window draw the menu
// and the overlays in every frame.
#pragma once

#include <cstdint>
#include <deque>

#include "fgcontrols.h"
#include "menuids.h"

class FGDrawBuffer;
class FGWindow;

// ---- constant tables ----

struct TMenuText {
    int16_t id;      // text id; -1 ends the table
    int32_t offset;  // byte offset in MenuTextPool (worked out from the pool)
    int32_t length;  // without the NUL
};

struct TMenuItem {
    int16_t id;          // item id 1..445; -1 ends the table
    int16_t textId;      // key into MenuTexts
    uint16_t subPage;    // PageNone: no sub-page
    uint32_t stateMask;  // 1 may be hidden, 2 may be greyed
};

// Page handler: (page id, item id).
typedef void (*TMenuHandler)(int pageId, int itemId);

struct TMenuPage {
    int16_t id;              // page id 1..149; -1 ends the table
    int32_t listOffset;      // index into MenuItemPool, worked out from the lists; negative: no list
    const int16_t* list;     // resolved from the offset on first use (null in the table)
    TMenuHandler handler;    // null in every row
    TMenuHandler handler2;   // never called
};

constexpr int MenuTextCount = 440;  // rows before the end mark
constexpr int MenuItemCount = 443;
constexpr int MenuPageCount = 148;
constexpr int MaxPageId = 149;

extern const char MenuTextPool[];
extern const TMenuText (&MenuTexts)[MenuTextCount + 1];
extern const TMenuItem MenuItems[MenuItemCount + 1];
extern const int16_t* const MenuItemPool;  // the page lists, each ended by -1
extern const int MenuItemPoolSize;  // elements
extern const TMenuPage MenuPages[MenuPageCount + 1];

// Linear look-ups from the first row to the end mark; null when not found.
const TMenuItem* FindItem(int itemId);
const TMenuPage* FindPage(int pageId);
const TMenuText* FindText(int textId);
// The untranslated pool text of a text id; "" when unknown.
const char* MenuTextOf(int textId);
// The text id drawn for an item: sensor names 201..226 take the alternates 27 higher
// in setup mode on device type 30.
int DrawnTextId(int textId);

// ---- the menu ----

// Item-state callback: (item row, current page id) -> state bits (1 hidden, 2 greyed).
typedef int (*TMenuItemStateFn)(const TMenuItem* item, int pageId);

// One element of the page stack; the current page's state has the same form.
struct TmemoryMenu {
    int16_t pageId = 0;
    int32_t listOffset = 0;
    const int16_t* list = nullptr;
    TMenuHandler handler = nullptr;
    TMenuHandler handler2 = nullptr;
    int32_t itemCount = 0;     // entries of the list, unknown ids included
    int32_t selected = 0;      // index of the selected entry in the list
    int32_t firstVisible = 0;  // index among the visible items of the topmost row drawn
    int32_t visibleCount = 0;  // entries whose item exists and is not hidden
    int32_t selectedRow = 0;   // index of the selected item among the visible items
};

// The box of the current page in window coordinates; all 0 while closed.
struct TMenuBox {
    int32_t x = 0, top = 0, height = 0, width = 0;
};

enum { MenuForward = 1, MenuBackward = -1 };
enum { MenuStateHidden = 1, MenuStateGreyed = 2 };

class ThlavniMenu {
public:
    std::deque<TmemoryMenu> stack;
    TmemoryMenu current;
    TMenuHandler action = nullptr;            // MenuAction
    TMenuItemStateFn itemState = nullptr;     // MenuItemState
    int32_t geoX = 0;          // box x (625)
    int32_t geoY = 0;          // bottom edge above the screen's bottom edge (35)
    int32_t geoMinWidth = 0;   // 170
    int32_t geoMaxHeight = 0;  // 445
    int32_t geoLeftX = 0;      // box x when placed at the left (10)
    uint8_t open = 0;
    uint8_t left = 0;          // placed at the left edge (heading menu)
    FGDrawBuffer* surface = nullptr;  // the last drawing surface
    int32_t font = 0;
    TMenuBox box;

    ThlavniMenu() = default;
    ~ThlavniMenu() = default;
    ThlavniMenu(const ThlavniMenu&) = delete;
    ThlavniMenu& operator=(const ThlavniMenu&) = delete;

    void SetGeometry(int x, int y, int minWidth, int maxHeight, int leftX);
    void Show(int openFlag);
    int OpenPage(int pageId);        // -1 unknown page
    int PushPage(const TMenuPage* page);
    int PopPage();                   // 0 when the stack is empty
    int ReplacePage(int pageId, int newPageId);
    void Next();
    void Prev();
    void Activate();
    void Draw(FGDrawBuffer* target);
    int GetNearestItem(int start, int direction, int tryOther);
    int NearestOneWay(int start, int direction);

    // State bits of a list entry of the current page: -1 for an unknown item id.
    int EntryState(int index);
    // Compute the box of the current page (as Draw places it).
    TMenuBox ComputeBox();
    int CurrentPage() const { return current.pageId; }
    int SelectedItem() const;  // item id of the selected entry, 0 without one
};

// The item-state callback of the program.
int MenuItemState(const TMenuItem* item, int pageId);

// ---- global objects (built before main, the menu first, destroyed in reverse) ----
class Tklavesnice;
extern ThlavniMenu MainMenu;
extern Tklavesnice Keyboard;

// MenuOpen and MenuCloseTime (refreshlinks.h) are defined by the menu: MenuOpen follows
// Show; MenuCloseTime is the menu deadline in seconds of the refresh clock.
// Renew the deadline: now + 5 s.
void RenewMenuDeadline();

// ---- panels of the main window ----

// Draws the menu in every paint of its window.
class MenuFGPanel : public FGPanel {
public:
    ThlavniMenu* menu;
    MenuFGPanel(int x, int y, int w, int h, FGWindow* window, ThlavniMenu* m);
    void Draw() override;
};

// Draws the overlays: calls its draw function with its parent window.
class TopFGPanel : public FGPanel {
public:
    FGWindow* parentWindow;
    void (*drawFn)(FGWindow* window);
    TopFGPanel(int x, int y, int w, int h, FGWindow* window, void (*fn)(FGWindow*));
    void Draw() override;
};

// Fills the shell's menu link table (gui/menulinks.h) and the status bar's key labels.
void InstallMenuLinks();

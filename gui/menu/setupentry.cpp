#include "setupentry.h"

#include <libintl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "checklist.h"
#include "configmanager.h"
#include "editors.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkutils.h"
#include "initialsetting.h"
#include "keyboard.h"
#include "menu.h"
#include "overlays.h"
#include "refreshlinks.h"
#include "screenkeys.h"
#include "shellhooks.h"
#include "shellstate.h"

int32_t (&PasswordSlots)[3] = PasswordSetting.slot;
int32_t* SelectedSlot = nullptr;
int32_t PasswordFailures = 0;
int32_t CodeEntryValue = 0;
int32_t CodeEntryFirst = 0;
int32_t CodeEntryPosition = 4;
int CodeEntryShown = 0;
const char* CodeEntryTitle = "";

// Marks table texts for the catalogues; they pass gettext where used.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

namespace {

constexpr const char* SupportAddress = "support@skyvane.example";

TPasswordCallback EntryCallback = nullptr;
int32_t EntryArgument = 0;

// The code entry's titles: enter, new, confirm.
const char* const CodeEntryTitles[3] = {gettext_noop("Enter Setup Password"), gettext_noop("Enter New Password"),
                                        gettext_noop("Confirm New Password")};

// The confirmation box of a question with "No" and "Yes" going to the given steps.
void AskYesNo(const char* question, void (*callback)(int32_t), int32_t no, int32_t yes) {
    SetMessageText(question);
    MessageBoxShown = 1;
    MessageBoxStyle = MessageStylePanel;
    SoftKeyHold = 1;
    Keyboard.BindNone(AllKeys);
    Keyboard.Bind(KeySoft4, LabelNo, callback, no);
    Keyboard.Bind(KeySoft3, LabelYes, callback, yes);
}

void DropConfirmation() {
    MessageBoxShown = 0;
    SoftKeyHold = 0;
}

void TakeStoreOwnership(bool take) {
    if (ConfigManager.Store()) ConfigManager.Store()->SetOwner(take ? static_cast<int>(getpid()) : 0);
}

void OpenCodeEntry(const char* title) {
    CodeEntryTitle = title;
    OpenEditor(0, 9999, &CodeEntryValue, PasswordEntry, 7, 0);
    Keyboard.Bind(KeyRightPush, LabelPosition, PasswordEntry, 9);
    CodeEntryValue = 0;
    CodeEntryPosition = 4;
    CodeEntryShown = 1;
    // Four digits by knob take longer than the soft-key time-out: the keys stay the
    // entry's until it is finished or cancelled.
    SoftKeyHold = 1;
}

// The entry lives on its keys: whatever took them (an alert, a power-off countdown, a
// demo reset) took the entry too, and its box must not stay behind.
bool CodeEntryHasKeys() {
    const EVENT_ITEM* up = Keyboard.FindBinding(KeyCode(KeyRightTurnRight));
    return up && up->callback == PasswordEntry;
}

// One font for the three titles, so that it does not change between new and confirm:
// the title font when the widest of them fits the room, else the body font, else the
// caption font.
int CodeEntryTitleFont(int room) {
    for (int role : {11, 10}) {
        const int font = OverlayRoleFont(role);
        if (!FGFontManager::is_font(font)) continue;
        int widest = 0;
        for (const char* title : CodeEntryTitles) widest = std::max(widest, FGFontManager::textwidth(font, gettext(title)));
        if (widest <= room) return font;
    }
    return OverlayRoleFont(8);
}

// Ends the code entry and reports to the callback, which is forgotten first.
void FinishCodeEntry(int success) {
    TPasswordCallback callback = EntryCallback;
    const int32_t argument = EntryArgument;
    EntryCallback = nullptr;
    Keyboard.Clear();
    CodeEntryShown = 0;
    CloseMessageBox();
    if (callback) callback(success ? argument : argument + 1);
}

const char* EntryQuestion() {
    if (SelectedSlot == &PasswordSlots[2]) return gettext("Are you sure you want to enter to setup as USER ?");
    if (SelectedSlot == &PasswordSlots[1])
        return gettext("Are you sure you want to enter to setup as ADMINISTRATOR ?");
    if (SelectedSlot == &PasswordSlots[0]) return gettext("Are you sure you want to enter to setup as INSTALLER ?");
    return gettext("Are you sure you want to enter to setup?");
}

void RestrictedNotice() {
    const int body = LanguageTextFont(LanguageId), heading = OverlayRoleFont(11);
    char support[160];
    snprintf(support, sizeof support, "%s \"%s\" %s", gettext("Send saved file at"), SupportAddress,
             gettext("with advanced description."));
    PopupListAdd(PopupClear, 0, 0);
    PopupListAdd(gettext("Enter setup in restricted mode"), heading, 0);
    PopupListAdd(" ", body, 0);
    PopupListAdd(gettext("You will admittance in setup mode with restricted access."), body, 0);
    PopupListAdd(gettext("In this mode not allowed any modification."), body, 0);
    PopupListAdd(gettext("If you forgot password, you have to export service log by Data Port."), body, 0);
    PopupListAdd(support, body, 0);
    PopupListAdd(gettext("You receive spare password for once using."), body, 0);
    PopupListAdd(" ", body, 0);
    PopupListAdd(gettext("Press OK button for continue"), body, 0);
    PopupListAdd(" ", body, 0);
    PopupListAdd(PopupShow, 0, 0);
}

// The end of both exits: the screen, the pages and the keys come back.
void LeaveSetup(int screenType) {
    if (DeviceID == DeviceRemoteDisplay && InDemoMode()) ResetDemo(true);
    SelectScreen(screenType);
    InitialSetting();
    Keyboard.Clear();
    BindScreenKeys();
}

}  // namespace

void SetPasswordCallback(TPasswordCallback callback, int32_t argument) {
    EntryCallback = callback;
    EntryArgument = argument;
}

int32_t StepCodeDigit(int32_t value, int position, int up) {
    if (position < 1 || position > 4 || value < 0 || value > 9999) return value;
    static const int32_t power[4] = {1, 10, 100, 1000};
    const int32_t d = power[position - 1];
    const int digit = value / d % 10;
    const int moved = (digit + (up ? 1 : 9)) % 10;
    return value + (moved - digit) * d;
}

void PasswordEntry(int32_t step) {
    switch (step) {
        case 0: OpenCodeEntry(gettext(CodeEntryTitles[0])); Keyboard.Bind(KeySoft4, LabelDone, PasswordEntry, 2); break;
        case 1: FinishCodeEntry(0); break;
        case 2: FinishCodeEntry(1); break;
        case 3: OpenCodeEntry(gettext(CodeEntryTitles[1])); Keyboard.Bind(KeySoft4, LabelSet, PasswordEntry, 4); break;
        case 4:
            CodeEntryFirst = CodeEntryValue;
            CodeEntryTitle = gettext(CodeEntryTitles[2]);
            Keyboard.Bind(KeySoft4, LabelSet, PasswordEntry, 5);
            CodeEntryValue = 0;
            CodeEntryPosition = 4;
            break;
        case 5: FinishCodeEntry(CodeEntryValue == CodeEntryFirst); break;
        case 7:
        case 8: CodeEntryValue = StepCodeDigit(CodeEntryValue, CodeEntryPosition, step == 8); break;
        case 9: CodeEntryPosition = CodeEntryPosition <= 1 ? 4 : CodeEntryPosition - 1; break;
        default: break;
    }
}

void DrawPasswordEntry() {
    if (CodeEntryShown && !CodeEntryHasKeys()) {
        CodeEntryShown = 0;
        EntryCallback = nullptr;
    }
    if (!CodeEntryShown || !MainWindow) return;
    FGDrawBuffer* w = MainWindow;
    FGBitmap* picture = MainPictures[Pic3dNastaveni];
    const int pictureWidth = picture ? picture->width : 200;
    w->set_mode(DrawModeKeyed);
    if (picture) w->bitblt(570, 375, 0, 0, picture->width, picture->height, picture);
    w->set_mode(DrawModeCopy);
    // Inside the picture's frame, in black as the other editors' titles on that picture.
    const int titleFont = CodeEntryTitleFont(pictureWidth - 10);
    SelectDisplayFont(w, titleFont);
    const char* title = CodeEntryTitle ? CodeEntryTitle : "";
    const int titleWidth = FGFontManager::is_font(w->get_font()) ? FGFontManager::textwidth(w->get_font(), title) : 0;
    w->set_mode(DrawModeKeyed);
    w->text(670 - titleWidth / 2, 385, title, 0x000000, PageKeyColour);
    w->set_mode(DrawModeCopy);
    const int boxX = 570 + (pictureWidth - 100) / 2;
    w->fillbox(boxX, 410, 100, 30, WhiteColour);
    w->box(boxX, 410, 100, 30, 0x000000);
    char digits[8];
    snprintf(digits, sizeof digits, "%0*d", 4, static_cast<int>(CodeEntryValue % 10000));
    SelectDisplayFont(w, DisplayFonts[FontEuromode23]);
    const int right = 570 + (pictureWidth + 100) / 2;
    const uint32_t highlight = DisplayPalette.PalRed;
    for (int i = 1; i <= 4; ++i) {
        const char shown[2] = {i == CodeEntryPosition ? digits[4 - i] : '*', '\0'};
        w->text(right - 5 - 21 * i, 412, shown, i == CodeEntryPosition ? highlight : 0x000000, WhiteColour);
    }
    w->fillbox(right - 8 - 21 * CodeEntryPosition, 435, 21, 3, highlight);
}

void ChangePassword(int32_t step) {
    switch (step) {
        case -1:
            if (SetupRole == RoleInstaller) SelectedSlot = &PasswordSlots[0];
            if (SetupRole == RoleAdministrator) SelectedSlot = &PasswordSlots[1];
            if (SetupRole == RoleUser) SelectedSlot = &PasswordSlots[2];
            break;
        case 1:
            if (SelectedSlot) {
                *SelectedSlot = CodeEntryValue;
                SetSS(SsPassword, 0);
            }
            if (CodeEntryValue == 0)
                GuiMessageBox(gettext("Password was deleted."), 1, KeySoft4, LabelConfirm, DismissMessage, 0);
            else
                GuiMessageBox(gettext("Password changed."), 0, KeySoft4, LabelConfirm, DismissMessage, 0);
            break;
        case 2:
            GuiMessageBox(gettext("Password mismatch, no change affected!"), 1, KeySoft4, LabelConfirm, DismissMessage, 0);
            break;
        default: break;
    }
}

void SelectStoredPasswordSlot() {
    const int index = SetupRole == RoleInstaller ? 0 : SetupRole == RoleAdministrator ? 1 : SetupRole == RoleUser ? 2 : -1;
    if (index >= 0 && PasswordSlots[index] != 0) SelectedSlot = &PasswordSlots[index];
}

void enterToSetup(int32_t step) {
    HookPrintf(">>enterToSetup(%d)\n", static_cast<int>(step));
    switch (step) {
        case 1:
            PasswordFailures = 0;
            if (!SelectedSlot) SelectStoredPasswordSlot();
            [[fallthrough]];
        case 2:
            Keyboard.Clear();
            CloseMessageBox();
            AskYesNo(EntryQuestion(), enterToSetup, 3, 4);
            break;
        case 3:
            PopupListAdd(PopupClear, 0, 0);
            DropConfirmation();
            Keyboard.Clear();
            CloseMessageBox();
            break;
        case 4:
            DropConfirmation();
            Keyboard.Clear();
            if (SelectedSlot && *SelectedSlot != 0) {
                SetPasswordCallback(enterToSetup, 5);
                PasswordEntry(0);
            } else {
                CodeEntryValue = 0;
                HookPrintf("<<enterToSetup\n");
                enterToSetup(5);
                return;
            }
            break;
        case 5:
            PopupListAdd(PopupClear, 0, 0);
            if (!SelectedSlot || CodeEntryValue == *SelectedSlot) {
                HookPrintf(">>GlobalEnterSetup()\n");
                SoftKeyHold = 0;
                SetupModeActive = 1;
                TakeStoreOwnership(true);
                SelectScreen(ScreenType);
                Keyboard.Clear();
                BindScreenKeys();
                break;
            }
            [[fallthrough]];
        case 6:
            if (++PasswordFailures > 2) {
                GuiMessageBox(gettext("Incorrect password was entered three times!"), 1, KeySoft4, LabelConfirm,
                              enterToSetup, 7);
            } else {
                GuiMessageBox(gettext("Incorrect password"), 1, KeyRightPush, 0, nullptr, 0);
                Keyboard.Bind(KeySoft3, LabelRepeat, enterToSetup, 4);
                Keyboard.Bind(KeySoft4, LabelCancel, enterToSetup, 3);
            }
            break;
        case 7:
            SetupRole = RoleRestricted;
            CodeEntryValue = SelectedSlot ? *SelectedSlot : 0;
            Keyboard.Clear();
            CloseMessageBox();
            Keyboard.BindNone(KeySet<KeyLeftPush, KeyRightPush, KeySoft1, KeySoft2, KeySoft3, KeySoft4>);
            RestrictedNotice();
            SoftKeyHold = 1;
            Keyboard.Bind(KeySoft3, LabelOk, enterToSetup, 5);
            Keyboard.Bind(KeySoft4, LabelCancel, enterToSetup, 3);
            break;
        default: break;
    }
    HookPrintf("<<enterToSetup\n");
}

void exitSetup(int32_t step) {
    HookPrintf(">>exitSetup(%d)\n", static_cast<int>(step));
    switch (step) {
        case 1:
        case 4:
            Keyboard.Clear();
            CloseMessageBox();
            AskYesNo(step == 1 ? gettext("Are you sure you want to save configuration and exit setup?")
                               : gettext("Are you sure you want to exit setup without saving changes?"),
                     exitSetup, 2, step == 1 ? 3 : 5);
            break;
        case 2:
            DropConfirmation();
            Keyboard.Clear();
            CloseMessageBox();
            break;
        case 3: {
            DropConfirmation();
            Keyboard.Clear();
            const int type = ScreenType;
            StoreScreenType(type);
            SetSS(SsDisplay, 0);
            if (SaveSetting(nullptr, KindStatistic | KindRuntime | KindSetup) != 0) {
                // Nothing is lost: setup stays on until the save succeeds or the user leaves.
                GuiMessageBox(gettext("Configuration was not saved! Setup stays on."), 1, KeySoft4, LabelConfirm,
                              DismissMessage, 0);
                break;
            }
            SetupModeActive = 0;
            TakeStoreOwnership(false);
            LeaveSetup(type);
            break;
        }
        case 5: {
            DropConfirmation();
            Keyboard.Clear();
            const int type = ScreenType;
            LoadSetting(nullptr, KindSetup, 1);
            SetupModeActive = 0;
            TakeStoreOwnership(false);
            LeaveSetup(type);
            break;
        }
        default: break;
    }
    HookPrintf("<<exitSetup\n");
}

void InstallSetupEntryLinks() { DrawCodeEntry = DrawPasswordEntry; }

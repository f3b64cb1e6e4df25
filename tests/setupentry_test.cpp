// Setup entry with passwords, the code entry, the password change and setup exit,
// driven by the soft keys over a real settings store in a temporary folder.
#include "setupentry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "settingvars.h"
#include "softkey_fixture.h"

namespace {

std::string Label(char key) { return KeyLabelOf(key); }
std::string Message() { return ShownMessage(); }
void Press(const std::string& keys) { PressKeys(keys); }
// Keys that enter a four-digit code from 0000: 'w' per digit, '1' to the next position.
std::string CodeKeys(int code) {
    std::string keys;
    for (int d = 1000; d >= 1; d /= 10) {
        keys += std::string(static_cast<size_t>(code / d % 10), 'w');
        if (d > 1) keys += '1';
    }
    return keys;
}

class SetupEntryTest : public SoftKeyFixture {
protected:
    void SetUp() override {
        SoftKeyFixture::SetUp();
        SelectedSlot = nullptr;
        PasswordSlots[0] = PasswordSlots[1] = PasswordSlots[2] = 0;
    }
    void TearDown() override {
        SelectedSlot = nullptr;
        SoftKeyFixture::TearDown();
    }
};

}  // namespace

TEST(CodeEntry, DigitsWrapWithoutCarry) {
    struct Row { int32_t value; int position, up; int32_t to; } rows[] = {
        {9999, 4, 1, 999}, {0, 1, 0, 9}, {1909, 2, 1, 1909 - 0 + 10}, {1090, 3, 0, 1990}, {9, 1, 1, 0},
        {5000, 4, 0, 4000}, {1234, 5, 1, 1234},
    };
    for (const Row& r : rows) EXPECT_EQ(StepCodeDigit(r.value, r.position, r.up), r.to) << r.value;
    // The cursor starts on the thousands digit and moves right, wrapping.
    CodeEntryPosition = 4;
    for (int expected : {3, 2, 1, 4}) {
        PasswordEntry(9);
        EXPECT_EQ(CodeEntryPosition, expected);
    }
}

TEST_F(SetupEntryTest, WithoutPasswordYesEntersAndNoStays) {
    enterToSetup(1);
    EXPECT_EQ(Message(), "Are you sure you want to enter to setup?");
    EXPECT_EQ(Label('4'), "Yes");
    EXPECT_EQ(Label('5'), "No");
    Press("5");
    EXPECT_EQ(SetupModeActive, 0);
    EXPECT_EQ(MessageBoxShown, 0);
    enterToSetup(1);
    Press("4");
    EXPECT_EQ(SetupModeActive, 1);
    EXPECT_EQ(Keyboard.GetMode(), 17);
    EXPECT_EQ(Label('2'), "Save and Exit");
    EXPECT_EQ(Label('3'), "Only Exit");
}

TEST_F(SetupEntryTest, RightCodeEntersWrongCodesLeadToRestrictedMode) {
    PasswordSlots[0] = 1234;
    SelectedSlot = &PasswordSlots[0];
    enterToSetup(1);
    EXPECT_EQ(Message(), "Are you sure you want to enter to setup as INSTALLER ?");
    Press("4");
    EXPECT_EQ(CodeEntryShown, 1);
    EXPECT_STREQ(CodeEntryTitle, "Enter Setup Password");
    EXPECT_EQ(CodeEntryPosition, 4);
    EXPECT_EQ(Label('1'), "Position");
    EXPECT_EQ(Label('5'), "Done");
    Press(CodeKeys(1234));
    EXPECT_EQ(CodeEntryValue, 1234);
    Press("5");
    EXPECT_EQ(CodeEntryShown, 0);
    EXPECT_EQ(SetupModeActive, 1);
    EXPECT_EQ(SetupRole, RoleInstaller);

    // Three wrong codes: Cancel counts as one of them.
    SetupModeActive = 0;
    enterToSetup(1);
    Press("4");
    Press(CodeKeys(1111) + "5");
    EXPECT_EQ(Message(), "Incorrect password");
    EXPECT_EQ(Label('4'), "Repeat");
    EXPECT_EQ(Label('5'), "Cancel");
    Press("4");                    // Repeat
    EXPECT_EQ(CodeEntryShown, 1);
    Press("4");                    // Cancel in the code entry
    EXPECT_EQ(Message(), "Incorrect password");
    EXPECT_EQ(PasswordFailures, 2);
    Press("4" + CodeKeys(4321) + "5");
    EXPECT_EQ(Message(), "Incorrect password was entered three times!");
    EXPECT_EQ(SetupModeActive, 0);
    Press("5");                    // Confirm: the restricted-mode explanation
    EXPECT_EQ(PopupListActive(1), 1);
    EXPECT_STREQ(PopupListLine(0), "Enter setup in restricted mode");
    EXPECT_EQ(Label('4'), "OK");
    Press("4");
    EXPECT_EQ(SetupModeActive, 1);
    EXPECT_EQ(SetupRole, RoleRestricted);
    EXPECT_EQ(PopupListActive(1), 0);
    EXPECT_EQ(Label('1'), "");
    EXPECT_EQ(Label('2'), "");
}

TEST_F(SetupEntryTest, CancelOnTheFirstQuestionChangesNothing) {
    PasswordSlots[0] = 77;
    SelectedSlot = &PasswordSlots[0];
    enterToSetup(1);
    Press("4");
    Press("4");  // Cancel in the code entry: wrong
    Press("5");  // Cancel in the message box
    EXPECT_EQ(SetupModeActive, 0);
    EXPECT_EQ(MessageBoxShown, 0);
    EXPECT_EQ(PasswordFailures, 1);
    EXPECT_EQ(SetupRole, RoleInstaller);
}

TEST_F(SetupEntryTest, ChangePasswordMismatchDeleteAndSet) {
    struct Row { int first, second; const char* message; int32_t slot; } rows[] = {
        {1234, 4321, "Password mismatch, no change affected!", 0},
        {2468, 2468, "Password changed.", 2468},
        {0, 0, "Password was deleted.", 0},
    };
    for (const Row& r : rows) {
        ChangePassword(-1);
        SetPasswordCallback(ChangePassword, 1);
        PasswordEntry(3);
        EXPECT_STREQ(CodeEntryTitle, "Enter New Password");
        Press(CodeKeys(r.first) + "5");
        EXPECT_STREQ(CodeEntryTitle, "Confirm New Password");
        Press(CodeKeys(r.second) + "5");
        EXPECT_EQ(Message(), r.message);
        EXPECT_EQ(PasswordSlots[0], r.slot) << r.message;
        EXPECT_EQ(SelectedSlot, &PasswordSlots[0]);
        Press("5");  // Confirm
        EXPECT_EQ(MessageBoxShown, 0);
    }
}

TEST_F(SetupEntryTest, OnlyExitRestoresAndSaveAndExitWrites) {
    ASSERT_EQ(access("setup.dat", F_OK), -1);
    enterToSetup(1);
    Press("4");
    ASSERT_EQ(SetupModeActive, 1);
    const int16_t baro = UnitsSetting.baro;
    UnitsSetting.baro = static_cast<int16_t>((baro + 1) % 3);
    SetSS(0x4001, 0);  // the units record, as its editor stores it
    Press("3");        // "Only Exit"
    EXPECT_EQ(Message(), "Are you sure you want to exit setup without saving changes?");
    Press("5");        // No: setup stays
    EXPECT_EQ(SetupModeActive, 1);
    Press("34");
    EXPECT_EQ(SetupModeActive, 0);
    EXPECT_EQ(UnitsSetting.baro, baro);
    EXPECT_EQ(access("setup.dat", F_OK), -1);

    enterToSetup(1);
    Press("4");
    UnitsSetting.baro = static_cast<int16_t>((baro + 1) % 3);
    SetSS(0x4001, 0);
    Press("2");        // "Save and Exit"
    EXPECT_EQ(Message(), "Are you sure you want to save configuration and exit setup?");
    Press("4");
    EXPECT_EQ(SetupModeActive, 0);
    EXPECT_EQ(access("setup.dat", F_OK), 0);
    UnitsSetting.baro = baro;
    ASSERT_EQ(LoadSetting(nullptr, KindSetup, 1), 0);
    EXPECT_EQ(UnitsSetting.baro, (baro + 1) % 3);
}

TEST_F(SetupEntryTest, SaveFailureKeepsSetupOnAndSaysSo) {
    // A folder where the setup file belongs: the file cannot be written.
    ASSERT_EQ(mkdir("setup.dat", 0755), 0);
    ASSERT_EQ(mkdir("setup.bck", 0755), 0);
    enterToSetup(1);
    Press("4");
    Press("24");
    EXPECT_EQ(SetupModeActive, 1);
    EXPECT_EQ(Message(), "Configuration was not saved! Setup stays on.");
    Press("5");
    EXPECT_EQ(MessageBoxShown, 0);
    EXPECT_EQ(Keyboard.GetMode(), 17);
}

// The whole road through the menus: "Change Password" on the installer's setup menu,
// then "Enter Setup" asks for that code.
TEST_F(SetupEntryTest, PasswordSetFromTheSetupMenuIsAskedAtTheNextEntry) {
    BindScreenKeys();
    Press("1wwwww1");   // main menu, "Enter Setup"
    EXPECT_EQ(Message(), "Are you sure you want to enter to setup?");
    Press("4");
    ASSERT_EQ(SetupModeActive, 1);
    Press("1wwww");     // the setup menu (page 18): "Change Password" is its fifth item
    ASSERT_EQ(MainMenu.CurrentPage(), PageSetupInstallerFlight);
    ASSERT_EQ(MainMenu.SelectedItem(), ItemChangePassword);
    Press("1");
    EXPECT_STREQ(CodeEntryTitle, "Enter New Password");
    Press(CodeKeys(2580) + "5" + CodeKeys(2580) + "5");
    EXPECT_EQ(Message(), "Password changed.");
    EXPECT_EQ(PasswordSlots[0], 2580);
    Press("5");         // Confirm
    Press("24");        // "Save and Exit", "Yes": the password is a setup setting
    ASSERT_EQ(SetupModeActive, 0);

    Press("1wwwww14");  // "Enter Setup" as the installer, "Yes"
    EXPECT_EQ(CodeEntryShown, 1);
    Press(CodeKeys(2580) + "5");
    EXPECT_EQ(SetupModeActive, 1);
    for (int page : {18, 19}) {
        bool found = false;
        for (const int16_t* e = MenuItemPool + FindPage(page)->listOffset; *e != -1; ++e) found |= *e == 333;
        EXPECT_TRUE(found) << page;
    }
    // Whatever rebinds the screen's keys (an input change, an alert) takes the entry along.
    Press("24");
    Press("1wwwww14");
    ASSERT_EQ(CodeEntryShown, 1);
    BindScreenKeys();
    DrawPasswordEntry();
    EXPECT_EQ(CodeEntryShown, 0);
}

// The passwords are the setup setting 0x4021: a saved one is asked for after a restart,
// and "Only Exit" drops a change as it drops every other.
TEST_F(SetupEntryTest, StoredPasswordIsAskedAfterARestart) {
    PasswordSlots[0] = 1357;
    ASSERT_EQ(SetSS(0x4021, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
    ConfigManager.Release();
    PasswordSlots[0] = 0;
    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.SetSleep([](uint32_t) {});
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    EXPECT_EQ(PasswordSlots[0], 1357);
    SelectedSlot = nullptr;
    enterToSetup(1);
    EXPECT_EQ(Message(), "Are you sure you want to enter to setup as INSTALLER ?");
    Press("4");
    EXPECT_EQ(CodeEntryShown, 1);
    Press(CodeKeys(1357) + "5");
    ASSERT_EQ(SetupModeActive, 1);

    // A new password dropped by "Only Exit".
    ChangePassword(-1);
    CodeEntryValue = 2468;
    ChangePassword(1);
    EXPECT_EQ(PasswordSlots[0], 2468);
    Press("5");
    Press("34");
    EXPECT_EQ(PasswordSlots[0], 1357);
}

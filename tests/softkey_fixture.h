// The soft keys, the menu and a real settings store in a temporary folder, wired as
// start-up wires them, for tests that press the bezel keys.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "config_tempdir.h"
#include "configmanager.h"
#include "editors.h"
#include "keyboard.h"
#include "keyglue.h"
#include "menu.h"
#include "menuaction.h"
#include "overlays.h"
#include "screenkeys.h"
#include "shellstate.h"

// The translated label of a key.
inline std::string KeyLabelOf(char key) { return Keyboard.GetKeyLabel(key); }
// The message box's text without its blanks.
inline std::string ShownMessage() {
    std::string t = MessageText;
    const size_t a = t.find_first_not_of(' '), b = t.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : t.substr(a, b - a + 1);
}
inline void PressKeys(const std::string& keys) {
    for (char k : keys) Keyboard.Dispatch(k);
}

class SoftKeyFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.Store()->SetSleep([](uint32_t) {});
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        MainMenu.SetGeometry(625, 35, 170, 445, 10);
        MainMenu.action = MenuAction;
        MainMenu.itemState = MenuItemState;
        Keyboard.SetMenu(&MainMenu);
        Keyboard.SetDefaultHandler(DefaultKeyAction);
        InstallScreenKeyLinks();
        SetupModeActive = 0;
        SetupRole = RoleInstaller;
        DeviceID = 29;
        LayoutCaps = 0x1F;
        ScreenType = ScreenFlight;
        Keyboard.Clear();
        MainMenu.Show(0);
        CloseMessageBox();
        PopupListAdd(PopupClear, 0, 0);
    }
    void TearDown() override {
        CloseMessageBox();
        SetupModeActive = 0;
        SetupRole = RoleInstaller;
        ConfigManager.Release();
    }

    ConfigTempDir dir;
};

// Fuel-tank calibration fed by a real writer of the measured-values block on a fake clock.
#include <gtest/gtest.h>

#include <cstring>

#include "aver_block.h"
#include "config_tempdir.h"
#include "configmanager.h"
#include "editors.h"
#include "fgdrawbuffer.h"
#include "keyboard.h"
#include "menu.h"
#include "menuaction.h"
#include "overlays.h"
#include "settingvars.h"
#include "statusbar.h"
#include "tankcalib.h"
#include "wizards.h"

namespace {

constexpr uint32_t LeftRaw = 0xC15;
uint32_t FakeMs = 0;
uint32_t FakeClock() { return FakeMs; }

int Finished = -1;
void OnFinish(int completed) { Finished = completed; }

class TankCalibTest : public AverBlockTest {
protected:
    void SetUp() override {
        AverBlockTest::SetUp();
        dir = std::make_unique<ConfigTempDir>();
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        TankCalibClockMs = FakeClock;
        FakeMs = 100000;
        TankCalibLastAttemptMs = 0;
        InstallWizardLinks();
        TankCalibration.SetReader(reader.get());
        Keyboard.Clear();
        Finished = -1;
        TankSetting[0] = {};
        TankSetting[0].steps = 3;
        TankSetting[0].unusable = 25;
        capacity = 1000;
        UnitsSetting.fuel = 0;
    }
    void TearDown() override {
        TankCalibration.active = 0;
        TankCalibration.SetReader(nullptr);
        Keyboard.Clear();
        CloseMessageBox();
        MainMenu.Show(0);
        ConfigManager.Release();
        dir.reset();
        AverBlockTest::TearDown();
    }
    void Begin(int activeSensor = 0) {
        TankCalibration.Setup(&TankSetting[0], &capacity, LeftRaw, activeSensor, "Total tank calibration");
        TankCalibration.SetFinishCallback(OnFinish);
        ASSERT_EQ(TankCalibration.Start(), 0);
    }
    // The tank channel holds v for the next samples; one tick past each sampling period.
    void Feed(int32_t v, int ticks) {
        ASSERT_GE(writer->SetVal(LeftRaw, v), 0);
        for (int i = 0; i < ticks; ++i) {
            FakeMs += TankCalibSamplePeriodMs + 1;
            WizardTicks();
        }
    }
    // From the start prompt of a passive sensor into the measuring of point 0.
    void ToMeasuring() {
        ASSERT_EQ(TankCalibration.state, TankChooseSteps);
        Keyboard.Dispatch('4');
        Keyboard.Dispatch('4');
        ASSERT_EQ(TankCalibration.state, TankFill);
        Keyboard.Dispatch('4');
        ASSERT_EQ(TankCalibration.state, TankMeasuring);
    }
    void MeasurePoint(int32_t v) {
        ASSERT_EQ(TankCalibration.state, TankMeasuring);
        Feed(v, TankCalibSamples);
    }
    static std::string Label(char key) { return Keyboard.GetKeyLabel(key); }

    std::unique_ptr<ConfigTempDir> dir;
    int32_t capacity = 1000;
};

TEST_F(TankCalibTest, ThreeStepRunThroughTheMenuStoresAnAscendingTable) {
    LimitTankLeft.range = 1000;
    EngineGaugeConfig.tankType = 0;
    EngineGaugeConfig.twoTanks = 0;
    MenuAction(PageCalibTankChoice, ItemCalibTotalTank);
    ASSERT_EQ(TankCalibration.active, 1);
    EXPECT_EQ(Label('4'), "OK");
    EXPECT_EQ(Label('5'), "Cancel");
    EXPECT_EQ(Label('1'), "Edit value");
    ToMeasuring();
    // The first portion carries the remainder; the points run from full to empty.
    EXPECT_EQ(TankCalibration.drain[0], 334);
    EXPECT_EQ(TankCalibration.drain[1], 333);
    EXPECT_EQ(TankCalibration.drain[2], 333);
    const int16_t quantities[] = {1000, 666, 333, 0};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(TankSetting[0].point[i].quantity, quantities[i]);
    // A sensor that falls as the tank empties.
    const int32_t levels[] = {3000, 2000, 1000, 0};
    for (int i = 0; i < 4; ++i) {
        MeasurePoint(levels[i]);
        if (i < 3) {
            ASSERT_EQ(TankCalibration.state, TankDrain) << i;
            EXPECT_EQ(TankCalibration.step, i + 1);
            Keyboard.Dispatch('4');
        }
    }
    ASSERT_EQ(TankCalibration.state, TankDone);
    EXPECT_EQ(Label('5'), "");
    Keyboard.Dispatch('4');
    EXPECT_EQ(TankCalibration.active, 0);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);

    // What setup.dat holds, read back by a fresh load.
    TTankSetting expect = {};
    const int16_t sensors[] = {0, 1000, 2000, 3000}, ascending[] = {0, 333, 666, 1000};
    for (int i = 0; i < 4; ++i) expect.point[i] = TTankPoint{sensors[i], ascending[i]};
    expect.unusable = 25;
    expect.steps = 4;
    expect.calibrated = 1;
    ConfigManager.Release();
    TankSetting[0] = {};
    ASSERT_EQ(ConfigManager.Create(), 0);
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    EXPECT_EQ(std::memcmp(&TankSetting[0], &expect, sizeof expect), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(TankSetting[0].point[i].sensor, sensors[i]) << i;
}

TEST_F(TankCalibTest, RisingSensorKeepsItsOrderWithFourSteps) {
    TankSetting[0].steps = 4;
    Begin();
    ToMeasuring();
    for (int32_t v : {100, 400, 700, 1000, 1300}) {
        MeasurePoint(v);
        if (TankCalibration.state == TankDrain) Keyboard.Dispatch('4');
    }
    ASSERT_EQ(TankCalibration.state, TankDone);
    Keyboard.Dispatch('4');
    EXPECT_EQ(Finished, 1);
    EXPECT_EQ(TankSetting[0].steps, 5);
    EXPECT_EQ(TankSetting[0].point[0].sensor, 100);
    EXPECT_EQ(TankSetting[0].point[0].quantity, 1000);
    EXPECT_EQ(TankSetting[0].point[4].sensor, 1300);
    EXPECT_EQ(TankSetting[0].point[4].quantity, 0);
}

TEST_F(TankCalibTest, CancelThenRestartStartsClean) {
    Begin();
    ToMeasuring();
    Feed(2000, 7);
    ASSERT_EQ(TankCalibration.sampleCount, 7);
    Keyboard.Dispatch('5');
    EXPECT_EQ(TankCalibration.questionShown, 1);
    EXPECT_EQ(KeyAlarmBlink, 1);
    EXPECT_EQ(Label('4'), "Yes");
    Keyboard.Dispatch('4');
    EXPECT_EQ(Finished, 0);
    EXPECT_EQ(TankCalibration.active, 0);
    EXPECT_EQ(KeyAlarmBlink, 0);

    Begin();
    EXPECT_EQ(TankCalibration.state, TankChooseSteps);
    EXPECT_EQ(TankCalibration.measuring, 0);
    EXPECT_EQ(TankCalibration.sampleCount, 0);
    EXPECT_EQ(TankCalibration.step, 0);
    EXPECT_EQ(TankCalibration.readFailures, 0);
    // Ticks measure nothing before the tank is full.
    Feed(2000, 40);
    EXPECT_EQ(TankCalibration.state, TankChooseSteps);
    EXPECT_EQ(TankCalibration.sampleCount, 0);
    EXPECT_EQ(TankSetting[0].point[0].sensor, 0);
}

TEST_F(TankCalibTest, StepCountChoiceAndClamps) {
    struct Case {
        uint8_t stored, calibrated;
        int32_t capacity;
        char key;
        int presses;
        uint8_t expect;
    } cases[] = {
        {0, 0, 1000, 0, 0, 3},   {200, 0, 1000, 0, 0, 15}, {15, 0, 1000, 'w', 1, 15},
        {3, 0, 1000, 's', 1, 3}, {3, 0, 1000, 'w', 2, 5},  {4, 1, 1000, 0, 0, 3},  // a table counts its points
        {15, 0, 8, 0, 0, 8},     {7, 0, 8, 'w', 3, 8},
    };
    for (const Case& c : cases) {
        TankSetting[0].steps = c.stored;
        TankSetting[0].calibrated = c.calibrated;
        capacity = c.capacity;
        Begin();
        for (int i = 0; i < c.presses; ++i) Keyboard.Dispatch(c.key);
        EXPECT_EQ(TankSetting[0].steps, c.expect) << int(c.stored) << " " << c.key;
        TankCalibration.active = 0;
    }
}

TEST_F(TankCalibTest, CapacityBelowTheStepsIsRefused) {
    capacity = 2;
    TankSetting[0].steps = 3;
    TankSetting[0].calibrated = 1;
    TankSetting[0].point[0] = TTankPoint{10, 20};
    TankCalibration.Setup(&TankSetting[0], &capacity, LeftRaw, 0, "Total tank calibration");
    TankCalibration.SetFinishCallback(OnFinish);
    EXPECT_EQ(TankCalibration.Start(), -2);
    EXPECT_EQ(TankCalibration.active, 0);
    EXPECT_EQ(TankSetting[0].calibrated, 1);
    EXPECT_EQ(TankSetting[0].point[0].sensor, 10);
    EXPECT_EQ(MessageBoxShown, 1);
    EXPECT_EQ(Label('5'), "Confirm");
    Keyboard.Dispatch('5');
    EXPECT_EQ(Finished, 0);
}

TEST_F(TankCalibTest, UnstableSamplesRestartTheRunAndRawValuesSaturate) {
    Begin();
    ToMeasuring();
    Feed(1000, 5);
    Feed(1050, 1);  // exactly 50 away: stable
    EXPECT_EQ(TankCalibration.sampleCount, 6);
    Feed(949, 1);   // 51 from 1000: the run starts again
    EXPECT_EQ(TankCalibration.sampleCount, 0);
    Feed(40000, 1);
    EXPECT_EQ(TankCalibration.samples[0], 32767);
    Feed(-40000, 1);
    EXPECT_EQ(TankCalibration.samples[1], -32768);
    EXPECT_EQ(TankCalibration.sampleCount, 0);
}

TEST_F(TankCalibTest, DrainCheckAndPouredIn) {
    Begin();
    ToMeasuring();
    MeasurePoint(1000);
    Keyboard.Dispatch('4');
    MeasurePoint(1049);  // 49: not drained, the same amount again
    ASSERT_EQ(TankCalibration.state, TankNotDrained);
    EXPECT_EQ(TankCalibration.step, 1);
    Keyboard.Dispatch('4');
    EXPECT_EQ(TankCalibration.state, TankDrain);
    Keyboard.Dispatch('4');
    MeasurePoint(1050);  // exactly 50 passes
    ASSERT_EQ(TankCalibration.state, TankDrain);
    EXPECT_EQ(TankCalibration.step, 2);
    Keyboard.Dispatch('4');
    MeasurePoint(900);   // against the rising direction
    EXPECT_EQ(TankCalibration.state, TankPouredIn);
    Keyboard.Dispatch('4');
    EXPECT_EQ(TankCalibration.state, TankStartPrompt);
}

TEST_F(TankCalibTest, SevenFailedReadsStopTheRun) {
    Begin();
    ToMeasuring();
    TankCalibration.SetReader(nullptr);
    AverReader = nullptr;  // the tick would otherwise give it the shell's reader again
    Feed(1000, 6);
    EXPECT_EQ(TankCalibration.state, TankMeasuring);
    Feed(1000, 1);
    EXPECT_EQ(TankCalibration.state, TankUnreadable);
    EXPECT_EQ(TankCalibration.measuring, 0);
    Keyboard.Dispatch('4');
    EXPECT_EQ(TankCalibration.state, TankStartPrompt);
    EXPECT_EQ(TankCalibration.readFailures, 0);
    AverReader = aver.get();
}

TEST_F(TankCalibTest, AnswerNoAfterTheTickMovedOnShowsTheNewKeys) {
    Begin();
    ToMeasuring();
    Feed(1000, 10);
    Keyboard.Dispatch('5');
    Feed(1000, 10);  // the point completes under the question
    EXPECT_EQ(TankCalibration.state, TankDrain);
    EXPECT_EQ(Label('4'), "Yes");
    Keyboard.Dispatch('5');
    EXPECT_EQ(TankCalibration.questionShown, 0);
    EXPECT_EQ(Label('4'), "OK");
    const EVENT_ITEM* ok = Keyboard.FindBinding(KeyCode('4'));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->argument, 8);
}

TEST_F(TankCalibTest, DrawsItsWindowOnlyWhileActive) {
    FGDrawBuffer buffer(800, 480, FG_TYPE_BITMAP, 0x102040);
    TankCalibration.Draw(&buffer);
    EXPECT_EQ(buffer.pixels[100 * 800 + 110], 0x102040u);
    Begin();
    ToMeasuring();
    Feed(1000, 19);
    TankCalibration.Draw(&buffer);
    EXPECT_EQ(buffer.pixels[90 * 800 + 105], 0x000000u);           // outline
    EXPECT_EQ(buffer.pixels[100 * 800 + 110], DefaultPanelColour);  // panel
    // Nineteen of twenty progress blocks: the last cell stays empty.
    const int barX = 105 + (590 - 400) / 2, b = 90 + 130 + 50;
    EXPECT_EQ(buffer.pixels[(b - 5) * 800 + barX + 20 * 19 - 10], 0x000000u);
    EXPECT_EQ(buffer.pixels[(b - 5) * 800 + barX + 20 * 20 - 10], DefaultPanelColour);
    Keyboard.Dispatch('5');
    TankCalibration.Draw(&buffer);
    EXPECT_EQ(buffer.pixels[270 * 800 + 400], AlertColour);  // the question box
}

}  // namespace

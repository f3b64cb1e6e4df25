// The bug, offset, airspeed-limit, engine-limit and setup value editors.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <cstring>
#include <iterator>
#include <string>

#include "baroeditor.h"
#include "bugeditors.h"
#include "config_tempdir.h"
#include "configmanager.h"
#include "editors.h"
#include "initialsetting.h"
#include "keyboard.h"
#include "limiteditors.h"
#include "menu.h"
#include "overlays.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"

namespace {

// Whole feet of a bug in decimetres, rounded half away from zero.
int FeetOf(int32_t dm) {
    const int64_t n = int64_t(dm) * 1000;
    return static_cast<int>(n >= 0 ? (n + 1524) / 3048 : -((-n + 1524) / 3048));
}

class SetupEditors : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        LoadSetting(nullptr, KindAll, 0);
        setenv("TZ", "UTC", 1);
        tzset();
        // Every turn of the knob is a slow one unless a test says otherwise.
        SetKnobClock([this] { return clockUs += 1000000; });
    }
    void TearDown() override {
        SetKnobClock(nullptr);
        SetEditorClocks(nullptr, nullptr);
        Keyboard.Clear();
        CloseMessageBox();
        ConfigManager.Release();
    }
    ConfigTempDir dir;
    int64_t clockUs = 0;
};

}  // namespace

TEST(BugSteps, AltitudeInFeetAndMetres) {
    struct Case {
        int32_t from;
        int up, fast, metres;
        int32_t to;
    } cases[] = {
        {0, 1, 0, 0, 30},            // +10 ft
        {30, 1, 0, 0, 61},           // +20 ft
        {0, 0, 0, 0, -30},           // -10 ft
        {-30, 0, 0, 0, -61},         // negatives snap away from zero, no drift
        {0, 1, 1, 0, 244},           // +80 ft fast
        {97536, 1, 0, 0, 97536},     // 32000 ft is the top
        {97506, 1, 0, 0, 97536},     // 31990 ft up to 32000 ft
        {60960, 1, 0, 0, 60990},     // 20000 ft to 20010 ft: the steps never stall
        {-27432, 0, 0, 0, -27432},   // -9000 ft is the bottom
        {0, 1, 0, 1, 100},           // +10 m
        {0, 0, 0, 1, -100},          // -10 m
        {-150, 0, 0, 1, -300},       // metres floor negatives (-250 floors to -300)
        {150, 1, 0, 1, 200},
        {0, 1, 1, 1, 800},           // +80 m fast
        {99950, 1, 0, 1, 100000},    // 10000 m top
        {-29990, 0, 1, 1, -30000},   // -3000 m bottom
    };
    for (const Case& c : cases)
        EXPECT_EQ(AltBugStep(c.from, c.up, c.fast, c.metres), c.to)
            << c.from << " up " << c.up << " fast " << c.fast << " m " << c.metres;
}

TEST(BugSteps, AltitudeFeetWalkStaysOnTensAndInRange) {
    int32_t v = 0;
    for (int i = 1; i <= 4000; ++i) {
        v = AltBugStep(v, 1, 0, 0);
        ASSERT_EQ(FeetOf(v) % 10, 0);
        ASSERT_LE(v, 97536);
    }
    EXPECT_EQ(FeetOf(v), 32000);
    for (int i = 1; i <= 8000; ++i) {
        const int before = FeetOf(v);
        v = AltBugStep(v, 0, 0, 0);
        ASSERT_GE(v, -27432);
        if (v > -27432) {
            ASSERT_EQ(before - FeetOf(v), 10) << i;
        }
    }
    EXPECT_EQ(FeetOf(v), -9000);
}

TEST(BugSteps, HeadingWraps) {
    EXPECT_EQ(HdgBugStep(359, 1, 0), 0);
    EXPECT_EQ(HdgBugStep(0, 0, 0), 359);
    EXPECT_EQ(HdgBugStep(350, 1, 1), 6);
    EXPECT_EQ(HdgBugStep(5, 0, 1), 349);
    EXPECT_EQ(HdgBugStep(100, 1, 1), 116);
}

TEST(BugSteps, IasWholeUnitsWithoutDrift) {
    for (int unit : {0, 1, 2}) {
        int32_t v = 0;
        for (int i = 0; i < 50; ++i) v = IasBugStep(v, 1, unit);
        const int32_t top = v;
        for (int i = 0; i < 50; ++i) v = IasBugStep(v, 0, unit);
        EXPECT_EQ(v, 0) << unit;
        EXPECT_EQ(IasBugStep(0, 0, unit), 0) << unit;
        v = top;
        for (int i = 0; i < 2000; ++i) v = IasBugStep(v, 1, unit);
        EXPECT_LE(v, 99900) << unit;
        EXPECT_GT(v, 99000) << unit;
    }
    EXPECT_EQ(IasBugStep(0, 1, 2), 100);   // 1 km/h
    EXPECT_EQ(IasBugStep(0, 1, 0), 185);   // 1 kt
    EXPECT_EQ(IasBugStep(185, 1, 0), 370);
}

TEST(AirspeedLimits, NeighboursKeepHalfAKnot) {
    struct Case {
        TAirspeedLimits limits;
        int which;
        int32_t lo, hi;
    } cases[] = {
        {{4500, 7000, 12000, 15000}, 1, 0, 6950},
        {{4500, 7000, 12000, 15000}, 2, 4550, 11950},
        {{4500, 7000, 12000, 15000}, 3, 7050, 14950},
        {{4500, 7000, 12000, 15000}, 4, 12050, 21600},
        {{0, 0, 0, 0}, 1, 0, 0},           // never inverted
        {{0, 0, 0, 0}, 2, 50, 50},
        {{0, 0, 0, 0}, 4, 50, 21600},
        {{5000, 5020, 5040, 6000}, 2, 5050, 5050},
    };
    for (const Case& c : cases) {
        AirspeedLimits = c.limits;
        int32_t lo = -1, hi = -1;
        AirspeedLimitBounds(c.which, &lo, &hi);
        EXPECT_EQ(lo, c.lo) << c.which;
        EXPECT_EQ(hi, c.hi) << c.which;
        EXPECT_LE(lo, hi);
    }
}

TEST_F(SetupEditors, VfeNeverWithinHalfAKnotOfVsOrVno) {
    AirspeedLimits = {4500, 7000, 12000, 15000};
    for (int unit : {0, 1, 2}) {
        UnitsSetting.airspeed = static_cast<int16_t>(unit);
        AirspeedLimitOpen(2);
        for (int cursor : {2, 1, 0}) {
            Editor.cursor = cursor;
            for (int i = 0; i < 300; ++i) AirspeedLimitEditor(EditorCmdUp);
        }
        EXPECT_LE(AirspeedLimits.vfe, AirspeedLimits.vno - 50) << unit;
        EXPECT_GE(AirspeedLimits.vfe, AirspeedLimits.vno - 50 - 100) << unit;
        for (int cursor : {2, 1, 0}) {
            Editor.cursor = cursor;
            for (int i = 0; i < 300; ++i) AirspeedLimitEditor(EditorCmdDown);
        }
        EXPECT_GE(AirspeedLimits.vfe, AirspeedLimits.vs + 50) << unit;
        AirspeedLimitEditor(EditorCmdCancel);
        EXPECT_EQ(AirspeedLimits.vfe, 7000 == AirspeedLimits.vfe ? 7000 : AirspeedLimits.vfe);
    }
}

TEST_F(SetupEditors, LimitBoundChains) {
    const TLimitA rpm = LimitRpm;
    struct Case {
        int channel, field;
        int32_t lo, hi;
    } cases[] = {
        {0xB00, LimitRange, 0, 20000},
        {0xB00, LimitNormal, 0, rpm.warning},
        {0xB00, LimitWarning, rpm.normal, rpm.alarm},
        {0xB00, LimitAlarm, rpm.warning, rpm.range},
        {0xB00, LimitDemoRpm, 0, 20000},
        {0xB01, LimitAlarmMin, 0, LimitRotorRpm.warningMin ? LimitRotorRpm.warningMin : LimitRotorRpm.warning},
        {0x201, LimitRange, 0, 1860},
        {0x202, LimitAlarmMin, 0, LimitFuelPress.warningMin},
        {0x202, LimitWarningMin, LimitFuelPress.alarmMin, LimitFuelPress.warning},
        {0x202, LimitWarning, LimitFuelPress.warningMin, LimitFuelPress.alarm},
        {0x202, LimitAlarm, LimitFuelPress.warning, LimitFuelPress.range},
        {0x100, LimitWarning, 0, LimitEgt.alarm},
        {0x401, LimitAlarmMin, 0, LimitTankLeft.range},
        {0x900, LimitWarningMin, SupplyLimit[0].alarmMin, SupplyLimit[0].warning},
        {0xA03, LimitWarningMin, -500, 0},
        {0xA03, LimitAlarmMin, -500, SupplyLimit[3].warningMin},
    };
    for (const Case& c : cases) {
        int32_t lo = 0, hi = 0;
        ASSERT_EQ(LimitFieldBounds(c.channel, c.field, &lo, &hi, nullptr), 0) << c.channel << "/" << c.field;
        EXPECT_EQ(lo, c.lo) << c.channel << "/" << c.field;
        EXPECT_EQ(hi, std::max(c.lo, c.hi)) << c.channel << "/" << c.field;
    }
    int32_t lo, hi;
    EXPECT_EQ(LimitFieldBounds(0xB00, 9, &lo, &hi, nullptr), -1);
    EXPECT_EQ(LimitFieldBounds(0x400, LimitNormal, &lo, &hi, nullptr), -1);
    EXPECT_EQ(LimitFieldBounds(0x1234, 1, &lo, &hi, nullptr), -1);
    // A MAP warning below 350 never inverts the minimum's range.
    LimitMap.warning = 300;
    ASSERT_EQ(LimitFieldBounds(0x201, LimitWarningMin, &lo, &hi, nullptr), 0);
    EXPECT_EQ(lo, 350);
    EXPECT_EQ(hi, 350);
}

TEST_F(SetupEditors, RpmWarningStaysBetweenNormalAndAlarm) {
    const TLimitA before = LimitRpm;
    ASSERT_EQ(LimitEditorOpen(0xB00, LimitWarning), 0);
    for (int cursor : {3, 2, 1, 0}) {
        Editor.cursor = cursor;
        for (int i = 0; i < 30; ++i) LimitEditor(EditorCmdUp);
    }
    EXPECT_EQ(LimitRpm.warning, before.alarm);
    for (int cursor : {3, 2, 1, 0}) {
        Editor.cursor = cursor;
        for (int i = 0; i < 30; ++i) LimitEditor(EditorCmdDown);
    }
    EXPECT_EQ(LimitRpm.warning, before.normal);
    LimitEditor(EditorCmdCancel);
    EXPECT_EQ(LimitRpm.warning, before.warning);
    EXPECT_EQ(LimitEdit.channel, 0);
}

TEST_F(SetupEditors, CurrentMinimumsTurnTheOtherWay) {
    SupplyLimit[3].warningMin = -100;
    ASSERT_EQ(LimitEditorOpen(0xA03, LimitWarningMin), 0);
    LimitEditor(EditorCmdDown);  // 's' raises
    EXPECT_EQ(SupplyLimit[3].warningMin, -99);
    LimitEditor(EditorCmdUp);    // 'w' lowers
    LimitEditor(EditorCmdUp);
    EXPECT_EQ(SupplyLimit[3].warningMin, -101);
    LimitEditor(EditorCmdCancel);
}

TEST_F(SetupEditors, UnitStepsDoNotDrift) {
    struct Case {
        int channel, field;
        int16_t TUnitsSetting::*unit;
        int16_t choice;
    } cases[] = {
        {0x201, LimitRange, &TUnitsSetting::manifoldPress, 0},  // inHg
        {0x201, LimitRange, &TUnitsSetting::manifoldPress, 2},  // torr
        {0x200, LimitRange, &TUnitsSetting::enginePress, 0},    // psi
        {0x200, LimitRange, &TUnitsSetting::enginePress, 2},    // kg/cm2
        {0x603, LimitRange, &TUnitsSetting::temperature, 0},    // F
        {0x100, LimitRange, &TUnitsSetting::temperature, 0},    // F on tenths of C
        {0x401, LimitRange, &TUnitsSetting::fuel, 1},           // US gallons
        {0x400, LimitRange, &TUnitsSetting::fuel, 2},           // UK gallons
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channel);
        UnitsSetting.*c.unit = c.choice;
        TankSetting[0].calibrated = 0;
        ASSERT_EQ(LimitEditorOpen(c.channel, c.field), 0);
        int32_t* v = LimitEdit.value;
        *v = LimitEdit.maximum / 2;
        Editor.cursor = 0;
        LimitEditor(EditorCmdUp);  // onto the unit's grid
        LimitEditor(EditorCmdDown);
        const int32_t start = *v;
        int32_t last = start;
        for (int i = 0; i < 20; ++i) {
            LimitEditor(EditorCmdUp);
            ASSERT_GT(*v, last) << i;  // never stalls
            last = *v;
        }
        for (int i = 0; i < 20; ++i) LimitEditor(EditorCmdDown);
        EXPECT_EQ(*v, start);
        LimitEditor(EditorCmdCancel);
    }
}

// The blank after the unit comes with the opened limit, not from its title.
TEST_F(SetupEditors, FuelPressureWarningsKeepTheUnitsBlank) {
    UnitsSetting.enginePress = UnitKpCm2;
    for (int field : {LimitWarningMin, LimitWarning, LimitAlarm}) {
        ASSERT_EQ(LimitEditorOpen(0x202, field), 0);
        TEditorView v{};
        ASSERT_EQ(EditorViewOf(EdFuelPressure, &ValueEditorMarks[EdFuelPressure], *LimitEdit.value, 0, &v), 1);
        EXPECT_STREQ(v.unit, field == LimitAlarm ? "kg/cm2" : "kg/cm2 ") << field;
        LimitEditor(EditorCmdCancel);
    }
}

TEST_F(SetupEditors, TankRangeClearsCalibrationOnlyWhenChanged) {
    TankSetting[0].calibrated = 1;
    const int32_t range = LimitTankLeft.range;
    EXPECT_EQ(LimitEditorOpen(0x401, LimitRange), 1);  // the recalibration prompt first
    EXPECT_EQ(MessageBoxShown, 1);
    const EVENT_ITEM* yes = Keyboard.FindBinding(KeyCode('4'));
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(yes->callback, nullptr);
    yes->callback(yes->argument);
    EXPECT_EQ(LimitEdit.channel, 0x401);
    LimitEditor(EditorCmdOk);  // unchanged range
    EXPECT_EQ(TankSetting[0].calibrated, 1);

    EXPECT_EQ(LimitEditorOpen(0x401, LimitRange), 1);
    yes = Keyboard.FindBinding(KeyCode('4'));
    yes->callback(yes->argument);
    LimitEditor(EditorCmdDown);
    LimitEditor(EditorCmdCancel);  // cancelled: still calibrated
    EXPECT_EQ(TankSetting[0].calibrated, 1);
    EXPECT_EQ(LimitTankLeft.range, range);

    EXPECT_EQ(LimitEditorOpen(0x401, LimitRange), 1);
    yes = Keyboard.FindBinding(KeyCode('4'));
    yes->callback(yes->argument);
    LimitEditor(EditorCmdDown);
    LimitEditor(EditorCmdOk);
    EXPECT_EQ(TankSetting[0].calibrated, 0);
    EXPECT_NE(LimitTankLeft.range, range);
}

TEST(BaroSteps, EveryPressureUnit) {
    struct Case {
        int unit, fast, up;
        int32_t qnh, changeTenths;
        int32_t toTenths;
        int stopped;
    } cases[] = {
        {0, 0, 1, 100000, 0, 340, 0},         // inHg slow 34 Pa
        {0, 1, 0, 100000, 0, -2720, 0},       // inHg fast 272 Pa
        {2, 0, 1, 100000, 0, 138, 0},         // torr slow 13.8 Pa
        {2, 0, 1, 100000, 138 * 4, 138 * 5, 0},
        {2, 1, 0, 100000, 0, -1040, 0},       // torr fast 104 Pa
        {1, 0, 0, 101325, 0, -250, 0},        // mBar from 101325 down: 101300
        {1, 0, 1, 101325, 0, 750, 0},         // mBar from 101325 up: 101400
        {1, 1, 1, 101325, 0, 7750, 0},        // fast: 102100
        {1, 0, 0, 101300, 0, -1000, 0},       // whole hPa stay whole
        {1, 0, 0, 101350, 0, -250, 1},        // crosses: stops on 101325
        {1, 0, 1, 101300, 0, 250, 1},
        {0, 0, 1, 104990, 0, 100, 0},         // clamped to 105000
        {0, 0, 0, 91510, 0, -100, 0},         // clamped to 91500
    };
    for (const Case& c : cases) {
        int stopped = -1;
        EXPECT_EQ(BaroStep(c.qnh, c.changeTenths, c.up, c.fast, c.unit, &stopped), c.toTenths)
            << c.unit << " " << c.qnh;
        EXPECT_EQ(stopped, c.stopped) << c.unit << " " << c.qnh;
    }
}

TEST_F(SetupEditors, BaroCrossingStopsOnceAndFinishingAddsTheChangeOnce) {
    UnitsSetting.baro = 1;
    QnhSetting.qnh = 101500;
    BaroSettingEditor(BaroDown);  // 101400
    EXPECT_EQ(BaroEditActive, 1);
    BaroSettingEditor(BaroDown);  // crosses: 101325
    EXPECT_EQ(QnhSetting.qnh, 101325);
    BaroSettingEditor(BaroDown);  // leaves it: 101300
    EXPECT_EQ(QnhSetting.qnh, 101300);
    EXPECT_EQ(BaroChange, -200);
    BaroSettingEditor(BaroStandard);  // the change is not added on top
    EXPECT_EQ(QnhSetting.qnh, 101325);
    EXPECT_EQ(BaroChange, 0);
    EXPECT_EQ(BaroEditActive, 0);

    UnitsSetting.baro = 2;
    for (int i = 0; i < 5; ++i) BaroSettingEditor(BaroUp);
    EXPECT_EQ(BaroChange, 69);  // 5 x 13.8 Pa
    BaroSettingEditor(BaroSet);  // the time-out keeps the change, once
    EXPECT_EQ(QnhSetting.qnh, 101325 + 69);
    QnhSetting.qnh = 0;
    GetSS(0x2006, 0);
    EXPECT_EQ(QnhSetting.qnh, 101325 + 69);
    BaroSettingEditor(BaroUp);
    BaroSettingEditor(BaroCancel);  // dropped
    EXPECT_EQ(QnhSetting.qnh, 101325 + 69);
    QnhSetting.qnh = 0;
    GetSS(0x2006, 0);
    EXPECT_EQ(QnhSetting.qnh, 101325 + 69);
    // The runtime file holds the finished setting.
    std::ifstream in("runtime.dat", std::ios::binary);
    EXPECT_TRUE(in.good());
}

TEST_F(SetupEditors, DateAndTimeWraps) {
    struct tm tm = {};
    tm.tm_year = 124, tm.tm_mon = 1, tm.tm_mday = 29, tm.tm_hour = 23, tm.tm_min = 59, tm.tm_sec = 58;
    const int64_t leapDay = timegm(&tm);  // 29 February 2024 23:59:58
    int64_t set = 0;
    SetEditorClocks([&] { return leapDay; }, [&](int64_t t) { set = t; return 0; });

    DateEditor(EditorCmdOpen);
    DateEditor(EditorCmdUp);  // year: 29 February 2025 does not exist
    EXPECT_EQ(DateFields[0], 28);
    EXPECT_EQ(DateFields[1], 2);
    EXPECT_EQ(DateFields[2], 25);
    DateEditor(5);                         // month
    for (int i = 0; i < 2; ++i) DateEditor(EditorCmdDown);  // February -> December of the same year
    EXPECT_EQ(DateFields[1], 12);
    EXPECT_EQ(DateFields[2], 25);
    DateEditor(EditorCmdUp);                // December up: January, same year
    EXPECT_EQ(DateFields[1], 1);
    EXPECT_EQ(DateFields[2], 25);
    DateEditor(5);                          // day
    for (int i = 0; i < 28; ++i) DateEditor(EditorCmdDown);  // 28 -> 1 -> 31 (same month)
    EXPECT_EQ(DateFields[0], 31);
    EXPECT_EQ(DateFields[1], 1);
    DateEditor(EditorCmdUp);                // past the last: the first
    EXPECT_EQ(DateFields[0], 1);
    DateEditor(EditorCmdOk);
    tm = {};
    tm.tm_year = 125, tm.tm_mon = 0, tm.tm_mday = 1, tm.tm_hour = 23, tm.tm_min = 59, tm.tm_sec = 58;
    EXPECT_EQ(set, timegm(&tm));            // today's time with the edited date

    TimeEditor(EditorCmdOpen);
    EXPECT_EQ(Editor.cursor, 3);
    TimeEditor(EditorCmdUp);
    TimeEditor(EditorCmdUp);               // 59 -> 0 within the minute
    EXPECT_EQ(TimeFields[2], 0);
    EXPECT_EQ(TimeFields[1], 59);
    TimeEditor(5);
    TimeEditor(5);                          // hours
    EXPECT_EQ(Editor.cursor, 1);
    TimeEditor(EditorCmdUp);               // 23 -> 0 within the day
    EXPECT_EQ(TimeFields[0], 0);
    TimeEditor(EditorCmdDown);
    EXPECT_EQ(TimeFields[0], 23);
    TimeEditor(5);
    EXPECT_EQ(Editor.cursor, 3);
    TimeEditor(EditorCmdOk);
    EXPECT_EQ(set, leapDay - 58);           // the same day, seconds 00
}

TEST_F(SetupEditors, SetClockRefusesAndReports) {
    int calls = 0;
    SetEditorClocks(nullptr, [&](int64_t) { ++calls; return -1; });
    EXPECT_EQ(SetClock(946681199), -1);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(SetClock(1700000000), -2);
    EXPECT_EQ(MessageBoxShown, 1);
    EXPECT_NE(std::string(MessageText).find("clock"), std::string::npos);
    SetEditorClocks(nullptr, [&](int64_t) { ++calls; return 0; });
    EXPECT_EQ(SetClock(1700000000), 0);
    EXPECT_EQ(calls, 2);
}

TEST_F(SetupEditors, AircraftIdKeepsItsTerminator) {
    snprintf(AircraftIdSetting.id, sizeof AircraftIdSetting.id, "%s", "OK");
    AircraftIdEditor(EditorCmdOpen);
    EXPECT_EQ(Editor.cursor, 1);
    for (int i = 0; i < 7; ++i) AircraftIdEditor(5);
    EXPECT_EQ(Editor.cursor, 8);
    for (int i = 0; i < 45; ++i) AircraftIdEditor(EditorCmdUp);
    EXPECT_EQ(AircraftIdSetting.id[8], '\0');
    AircraftIdEditor(5);
    EXPECT_EQ(Editor.cursor, 1);  // from 8 back to 1
    AircraftIdEditor(EditorCmdDown);
    EXPECT_EQ(AircraftIdSetting.id[0], 'N');
    AircraftIdEditor(EditorCmdOk);
    AircraftIdSetting = {};
    GetSS(0x400F, 0);
    EXPECT_EQ(AircraftIdSetting.id[0], 'N');
    EXPECT_EQ(AircraftIdSetting.id[1], 'K');
    EXPECT_EQ(AircraftIdSetting.id[2], '\0');
    EXPECT_EQ(AircraftIdSetting.id[8], '\0');
}

TEST(LabelChars, CycleThroughThirtyNineSymbols) {
    const std::string set = std::string(1, '\0') + " -0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    ASSERT_EQ(set.size(), 39u);
    for (size_t i = 0; i < set.size(); ++i) {
        EXPECT_EQ(LabelCharNext(set[i]), set[(i + 1) % 39]) << i;
        EXPECT_EQ(LabelCharPrev(set[(i + 1) % 39]), set[i]) << i;
    }
    EXPECT_EQ(LabelCharNext('a'), ' ');
    EXPECT_EQ(LabelCharPrev('\xB0'), 'Z');
}

TEST_F(SetupEditors, SetupValuesWriteBackInRange) {
    FuelFlowSetting.flowAverage = 5;
    ASSERT_EQ(SetupValueEditor(SetupFlowAverage), 0);
    for (int i = 0; i < 20; ++i) SetupValueCallback(EditorCmdUp);
    SetupValueCallback(EditorCmdOk);
    EXPECT_EQ(FuelFlowSetting.flowAverage, 10);
    // A stored value out of bounds opens clamped.
    FuelFlowSetting.quantityAverage = 5;
    ASSERT_EQ(SetupValueEditor(SetupQuantityAverage), 0);
    SetupValueCallback(EditorCmdOk);
    EXPECT_EQ(FuelFlowSetting.quantityAverage, 30);
    EXPECT_EQ(SetupValueEditor(99), -1);
}

TEST_F(SetupEditors, FirmwareDownloadNeedsTheFile) {
    EXPECT_FALSE(FirmwareFilePresent());
    EXPECT_EQ(StartFirmwareDownload(), -1);
    ASSERT_EQ(mkdir("update", 0755), 0);
    std::ofstream("update/fwu.tls") << "image";
    EXPECT_TRUE(FirmwareFilePresent());
    EXPECT_NE(StartFirmwareDownload(), 0);  // nothing here takes an update: never success
}

TEST_F(SetupEditors, BugEditorsDisableKeepsTheValue) {
    DisplaySetting.hdgBug = 123;
    BugEditorOpen(BugHeading);
    EXPECT_EQ(ValueEditorMarks[EdApHeading].open, 1);
    EXPECT_EQ(DisplaySetting.hdgBugOn, 1);
    HdgBugEditor(EditorCmdUp);
    HdgBugEditor(5);
    EXPECT_EQ(DisplaySetting.hdgBugOn, 0);
    EXPECT_EQ(DisplaySetting.hdgBug, 124);
    EXPECT_EQ(ValueEditorMarks[EdApHeading].open, 0);

    MiscSetting[MiscPitchOffset].value = 25;
    PitchOffsetEditor(EditorCmdOpen);
    PitchOffsetEditor(EditorCmdUp);
    PitchOffsetEditor(5);
    EXPECT_EQ(MiscSetting[MiscPitchOffset].value, 0);
    PitchOffsetEditor(EditorCmdCancel);  // the old value comes back and is stored
    EXPECT_EQ(MiscSetting[MiscPitchOffset].value, 25);
    MiscSetting[MiscPitchOffset].value = 0;
    GetSS(0x4016, MiscPitchOffset);
    EXPECT_EQ(MiscSetting[MiscPitchOffset].value, 25);
}

TEST_F(SetupEditors, RpmWarningSavedAndFollowedAfterRestart) {
    const int32_t old = LimitRpm.warning;
    ASSERT_EQ(LimitEditorOpen(0xB00, LimitWarning), 0);
    Editor.cursor = 2;
    LimitEditor(EditorCmdDown);
    LimitEditor(EditorCmdOk);
    const int32_t changed = old - 100;
    ASSERT_EQ(LimitRpm.warning, changed);
    EXPECT_EQ(EngineDialConfig[DialRpm].yellowStart, changed);  // the gauges follow at once
    EXPECT_EQ(RangeLimitsShown, 1);

    // Save and Exit writes the setup file; the backup goes so the restart reads setup.dat.
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
    uint8_t stored[LimitRecordSize] = {};
    ASSERT_GE(ConfigManager.Store()->GetSectionData(0x4065, 0xB00, stored, sizeof stored), 0);
    int32_t word;
    memcpy(&word, stored + 4, 4);
    EXPECT_EQ(word, changed);
    std::ifstream in("setup.dat", std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(file.find(std::string(reinterpret_cast<char*>(stored), sizeof stored)), std::string::npos);
    ASSERT_EQ(remove("setup.bck"), 0);

    ConfigManager.Release();
    LimitRpm = TLimitA{};
    EngineDialConfig[DialRpm].yellowStart = 0;
    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.SetSleep([](uint32_t) {});
    LoadSetting(nullptr, KindAll, 0);
    EXPECT_EQ(LimitRpm.warning, changed);
    InitialSetting();
    EXPECT_EQ(EngineDialConfig[DialRpm].yellowStart, changed);
    EXPECT_EQ(EngineDialConfig[DialStripRpm].yellowStart, changed);
    EXPECT_EQ(EngineDialConfig[DialRpm].redStart, LimitRpm.alarm);
}

TEST_F(SetupEditors, BaroTimeOutThroughTheRefreshHookKeepsTheChange) {
    InstallSetupLinks();
    ASSERT_NE(RefreshHooks.CloseBaroEditor, nullptr);
    UnitsSetting.baro = 0;
    QnhSetting.qnh = 100000;
    BaroSettingEditor(BaroUp);
    EXPECT_EQ(BaroEditActive, 1);
    RefreshHooks.CloseBaroEditor();
    EXPECT_EQ(QnhSetting.qnh, 100034);
    EXPECT_EQ(BaroEditActive, 0);
}

TEST_F(SetupEditors, SupplyNameStartsFromTheChannelsName) {
    SupplyNameSetting[4] = {};
    ASSERT_EQ(SupplyNameEditorOpen(0xA04), 0);
    EXPECT_STREQ(SupplyNameSetting[4].name, "PUMP");
    EXPECT_EQ(SupplyNameSetting[4].flags & 1, 1u);
    EXPECT_STREQ(ValueEditorMarks[EdTextField].title, "PUMP 2 label");
    for (int i = 0; i < 9; ++i) SupplyNameEditor(5);
    EXPECT_EQ(Editor.cursor, 10);
    SupplyNameEditor(EditorCmdUp);  // the tenth character: terminator to blank
    EXPECT_EQ(SupplyNameSetting[4].name[9], ' ');
    EXPECT_EQ(SupplyNameSetting[4].name[10], '\0');
    SupplyNameEditor(EditorCmdOk);
    SupplyNameSetting[4] = {};
    GetSS(0x400E, 0xA04);
    EXPECT_EQ(std::string(SupplyNameSetting[4].name, 4), "PUMP");
    EXPECT_EQ(SupplyNameEditorOpen(0x903), -1);
    EXPECT_STREQ(SupplyChannelName(0x902), "AVIONICS");
    EXPECT_STREQ(SupplyChannelName(0x903), "");
}

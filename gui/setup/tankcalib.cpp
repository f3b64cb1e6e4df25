#include "tankcalib.h"

#include <libintl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "checklist.h"
#include "editors.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkmeasure.h"
#include "keyboard.h"
#include "overlays.h"
#include "refreshlinks.h"
#include "statusbar.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

TtankCalibration TankCalibration(nullptr);

namespace {

uint32_t MonotonicMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000u + static_cast<uint64_t>(t.tv_nsec) / 1000000u);
}

constexpr uint32_t PanelColour = DefaultPanelColour;
constexpr uint32_t Black = 0x000000, White = 0xFFFFFF;

int16_t Saturate16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

int TextWidth(FGDrawBuffer* w, const char* text) {
    const int font = w->get_font();
    return FGFontManager::is_font(font) && text ? FGFontManager::textwidth(font, text) : 0;
}

void RoleFont(FGDrawBuffer* w, int role) {
    const int font = OverlayRoleFont(role);
    if (FGFontManager::is_font(font)) w->set_font(font);
}

// The quantity unit word of the units record: "l" for litres, "gal" for either gallon.
const char* FuelUnit() { return UnitsSetting.fuel == 0 ? "l" : "gal"; }

// "%s: %d.%d %s" / "%s %d.%d %s" of a quantity in tenths of a litre in the selected unit.
void QuantityLine(char* out, size_t size, const char* format, const char* label, int32_t tenths) {
    const int32_t q = ConvertFuelQuantity(UnitsSetting.fuel, tenths);
    std::snprintf(out, size, format, gettext(label), q / 10, std::abs(q % 10), gettext(FuelUnit()));
}

}  // namespace

uint32_t (*TankCalibClockMs)() = MonotonicMs;
uint32_t TankCalibLastAttemptMs = 0;

void TankCalibKey(int32_t event) { TankCalibration.OnKey(event); }

TtankCalibration::TtankCalibration(TMeasuredVals* measuredReader)
    : reader(measuredReader),
      channel(0),
      x((800 - TankCalibWidth) / 2),
      y((480 - TankCalibHeight) / 2 - 20),
      width(TankCalibWidth),
      height(TankCalibHeight),
      finishCallback(nullptr),
      keyboard(nullptr),
      tank(nullptr),
      capacity(nullptr),
      activeSensor(0),
      active(0),
      measuring(0),
      sampleCount(0),
      step(0),
      state(0),
      title(nullptr),
      question{},
      drain{},
      samples{},
      rising(0),
      questionShown(0),
      readFailures(0) {}

void TtankCalibration::SetKeyboard(Tklavesnice* softKeys) { keyboard = softKeys; }

void TtankCalibration::SetFinishCallback(void (*callback)(int)) { finishCallback = callback; }

void TtankCalibration::Setup(TTankSetting* tankRecord, int32_t* tankCapacity, int32_t channelId, int activeSensorFlag,
                             const char* titleText) {
    tank = tankRecord;
    capacity = tankCapacity;
    channel = channelId;
    activeSensor = activeSensorFlag ? 1 : 0;
    title = titleText;
}

namespace {

// Confirm of the refusal: the run never started, the finish callback reloads the record.
void RefusedConfirm(int32_t) {
    if (TankCalibration.keyboard) TankCalibration.keyboard->Clear();
    CloseMessageBox();
    if (TankCalibration.finishCallback) TankCalibration.finishCallback(0);
}

}  // namespace

int TtankCalibration::Start() {
    if (!finishCallback || !keyboard || !tank || !title) return -1;
    // Fewer tenths of a litre than steps would drain nothing at every step.
    if (!capacity || *capacity < TankCalibMinSteps) {
        GuiMessageBox(gettext("Tank capacity is too small for calibration"), 1, KeySoft4, LabelConfirm, RefusedConfirm,
                      0);
        return -2;
    }
    // A cancelled run leaves nothing behind.
    measuring = 0;
    sampleCount = 0;
    step = 0;
    readFailures = 0;
    rising = 0;
    std::memset(samples, 0, sizeof samples);
    std::memset(drain, 0, sizeof drain);
    question[0] = '\0';
    KeyAlarmBlink = 0;

    // A completed table counts its points, one more than the steps it was made with.
    const int stored = tank->calibrated ? tank->steps - 1 : tank->steps;
    const int most = std::min<int>(TankCalibMaxSteps, *capacity);
    const uint8_t steps = static_cast<uint8_t>(std::clamp<int>(stored, TankCalibMinSteps, most));

    state = activeSensor ? TankIntroActive : TankChooseSteps;
    questionShown = 0;
    active = 1;
    tank->steps = steps;
    tank->calibrated = 0;
    std::memset(tank->point, 0, sizeof tank->point);
    Step();
    return 0;
}

void TtankCalibration::Step() {
    SoftKeyHold = 1;
    if (questionShown || !keyboard) return;
    Tklavesnice& k = *keyboard;
    k.BindNone(AllKeys);
    const int cancel = state == TankDone ? 0 : 2;
    int ok = 0;
    switch (state) {
        case TankIntroActive:
        case TankIntroTrim:
        case TankChooseSteps:
        case TankStartPrompt: ok = 1; break;
        case TankFill: ok = 7; break;
        case TankDrain: ok = 8; break;
        case TankPouredIn: ok = 10; break;
        case TankNotDrained: ok = 11; break;
        case TankDone: ok = 9; break;
        case TankUnreadable: ok = 12; break;
        default: break;
    }
    if (ok) k.Bind(KeySoft3, LabelOk, TankCalibKey, ok);
    if (cancel) k.Bind(KeySoft4, LabelCancel, TankCalibKey, cancel);
    if (state == TankChooseSteps) {
        k.Bind(KeyRightTurnRight, 0, TankCalibKey, 5);
        k.Bind(KeyRightTurnLeft, 0, TankCalibKey, 6);
        k.Bind(KeyRightPush, LabelEditValue, nullptr, 0);
    }
}

void TtankCalibration::OnKey(int32_t event) {
    switch (event) {
        case 1:
            ++state;
            Step();
            break;
        case 2:
            std::snprintf(question, sizeof question, "  %s  ",
                          gettext("Are you sure you want to cancel calibration?"));
            questionShown = 1;
            KeyAlarmBlink = 1;
            if (keyboard) {
                keyboard->Bind(KeySoft4, LabelNo, TankCalibKey, 3);
                keyboard->Bind(KeySoft3, LabelYes, TankCalibKey, 4);
                keyboard->BindNone(KeySet<KeyLeftPush, KeyRightPush, KeySoft2, KeySoft1, KeyLeftTurnRight, KeyLeftTurnLeft,
                                          KeyRightTurnLeft, KeyRightTurnRight>);
            }
            break;
        case 3:
            questionShown = 0;
            KeyAlarmBlink = 0;
            Step();
            break;
        case 4:
            active = 0;
            measuring = 0;
            questionShown = 0;
            KeyAlarmBlink = 0;
            SoftKeyHold = 0;
            if (finishCallback) finishCallback(0);
            break;
        case 5:
        case 6:
            if (tank) {
                int next = tank->steps + (event == 5 ? 1 : -1);
                // The step count never exceeds the capacity in tenths: every drain is at least one.
                const int most = capacity ? std::min<int>(TankCalibMaxSteps, std::max(0, *capacity)) : TankCalibMaxSteps;
                next = std::clamp(next, static_cast<int>(TankCalibMinSteps), std::max<int>(TankCalibMinSteps, most));
                tank->steps = static_cast<uint8_t>(next);
            }
            break;
        case 7:
            step = 0;
            sampleCount = 0;
            readFailures = 0;
            ++state;
            Step();
            Prepare();
            measuring = 1;
            break;
        case 8:
            sampleCount = 0;
            state = TankMeasuring;
            Step();
            measuring = 1;
            break;
        case 9:
            measuring = 0;
            active = 0;
            SoftKeyHold = 0;
            Finish();
            if (finishCallback) finishCallback(1);
            break;
        case 10:
            state = TankStartPrompt;
            Step();
            break;
        case 11:
            state = TankDrain;
            Step();
            break;
        case 12:
            readFailures = 0;
            state = TankStartPrompt;
            Step();
            break;
        default: break;
    }
}

void TtankCalibration::Prepare() {
    if (!tank) return;
    std::memset(tank->point, 0, sizeof tank->point);
    const int n = std::clamp<int>(tank->steps, TankCalibMinSteps, TankCalibMaxSteps);
    const int16_t c = Saturate16(capacity ? *capacity : 0);
    const int16_t portion = static_cast<int16_t>(c / n);
    for (int i = 0; i <= n; ++i) drain[i] = portion;
    drain[0] = static_cast<int16_t>(portion + (c - n * portion));
    tank->point[0].quantity = c;
    for (int i = 1; i <= n; ++i) tank->point[i].quantity = static_cast<int16_t>(tank->point[i - 1].quantity - drain[i - 1]);
    tank->point[n].quantity = 0;
}

bool TtankCalibration::IsUnstable() const {
    const int k = std::clamp<int32_t>(sampleCount, 0, TankCalibSamples - 1);
    for (int i = 0; i < k; ++i)
        if (std::abs(samples[i] - samples[k]) > TankCalibSpread) return true;
    return false;
}

int16_t TtankCalibration::Average() const {
    int32_t sum = 0;
    for (int16_t s : samples) sum += s;
    return static_cast<int16_t>(sum / TankCalibSamples);
}

void TtankCalibration::Finish() {
    if (!tank) return;
    const int n = std::clamp<int>(tank->steps, TankCalibMinSteps, TankCalibMaxSteps);
    if (!rising)
        for (int i = 0; i < (n + 1) / 2; ++i) std::swap(tank->point[i], tank->point[n - i]);
    tank->steps = static_cast<uint8_t>(n + 1);
}

void TtankCalibration::MeasureTick() {
    if (!active || !measuring || !tank) return;
    const int n = std::clamp<int>(tank->steps, TankCalibMinSteps, TankCalibMaxSteps);
    const uint32_t now = TankCalibClockMs ? TankCalibClockMs() : MonotonicMs();
    if (now - TankCalibLastAttemptMs > TankCalibSamplePeriodMs) {
        int32_t value = 0;
        const bool good = reader && reader->GetVal(static_cast<uint32_t>(channel), value, 7) == 0;
        if (good) {
            readFailures = 0;
            const int k = std::clamp<int32_t>(sampleCount, 0, TankCalibSamples - 1);
            samples[k] = Saturate16(value);
            sampleCount = IsUnstable() ? 0 : k + 1;
        } else if (++readFailures > TankCalibMaxFailures) {
            measuring = 0;
            state = TankUnreadable;
            Step();
        }
        TankCalibLastAttemptMs = now;
    }
    if (!measuring || sampleCount < TankCalibSamples) return;
    measuring = 0;
    sampleCount = 0;
    const int at = std::clamp<int32_t>(step, 0, n);
    tank->point[at].sensor = Average();
    if (at == 1) rising = tank->point[0].sensor <= tank->point[1].sensor ? 1 : 0;
    if (at >= 1) {
        const int d = std::abs(tank->point[at].sensor - tank->point[at - 1].sensor);
        if (d < TankCalibMinDrain) {
            state = TankNotDrained;
        } else if (at >= 2) {
            const bool against = rising ? tank->point[at].sensor < tank->point[at - 1].sensor
                                        : tank->point[at].sensor > tank->point[at - 1].sensor;
            if (against) state = TankPouredIn;
        }
    }
    if (state != TankPouredIn && state != TankNotDrained && state != TankUnreadable) {
        step = at + 1;
        state = step <= n ? TankDrain : TankDone;
    }
    Step();
}

void TtankCalibration::Draw(FGDrawBuffer* w) {
    if (!active || !w || !tank) return;
    const int savedFont = w->get_font();
    w->set_mode(0);
    w->fillbox(x, y, width, height, PanelColour);
    w->box(x, y, width, height, Black);
    auto centred = [&](int ty, const char* text) {
        w->text(x + (width - TextWidth(w, text)) / 2, ty, text, Black, PanelColour);
    };
    RoleFont(w, 11);
    centred(y + 10, title ? title : "");

    RoleFont(w, 10);
    char line[256];
    QuantityLine(line, sizeof line, "%s: %d.%d %s", gettext_noop("Total tank capacity"), capacity ? *capacity : 0);
    centred(y + 50, line);
    const int n = std::clamp<int>(tank->steps, TankCalibMinSteps, TankCalibMaxSteps);
    if (state == TankMeasuring) {
        QuantityLine(line, sizeof line, "%s: %d.%d %s", gettext_noop("Expected amount of fuel"),
                     tank->point[std::clamp<int32_t>(step, 0, n)].quantity);
        centred(y + 80, line);
    }

    RoleFont(w, 11);
    const int b = y + height / 2 + 50;
    switch (state) {
        case TankIntroActive: centred(b - 30, gettext("Adjust trim for active sensor")); break;
        case TankIntroTrim: centred(b - 30, gettext("Fix both trim, no adjusting")); break;
        case TankChooseSteps: {
            const char* text = gettext("Select count of calibration steps ");
            const int tw = TextWidth(w, text);
            w->text(x + (width - tw) / 2 - 60, b - 30, text, Black, PanelColour);
            DrawNumericEditor(nullptr, " ", tank->steps, 0, 1, x + (width + tw) / 2 - 50, b - 34, 0);
            RoleFont(w, 11);
            break;
        }
        case TankStartPrompt: centred(b - 60, gettext("Start calibration")); break;
        case TankFill:
            centred(b - 60, gettext("Fill the tank"));
            centred(b - 30, gettext("Is tank full?"));
            break;
        case TankMeasuring:
            if (measuring) DrawProgress(w, b);
            break;
        case TankDrain: {
            const int at = std::clamp<int32_t>(step - 1, 0, n);
            QuantityLine(line, sizeof line, "%s %d.%d %s", gettext_noop("Drain off"), drain[at]);
            centred(b - 60, line);
            std::snprintf(line, sizeof line, "%s - %d/%d", gettext("total"), step, n);
            centred(b - 30, line);
            break;
        }
        case TankPouredIn: centred(b - 60, gettext("Error, fuel poured in, restart calibration")); break;
        case TankNotDrained: centred(b - 60, gettext("Warning, fuel not drained off, please repeat")); break;
        case TankDone: centred(b - 60, gettext("Calibration done")); break;
        case TankUnreadable:
            centred(b - 60, gettext("Can not read data, input may be out of range"));
            centred(b - 30, gettext("Please try restart calibration"));
            break;
        default: break;
    }
    if (questionShown) DrawQuestion(w);
    w->set_mode(0);
    w->set_font(savedFont);
}

void TtankCalibration::DrawProgress(FGDrawBuffer* w, int32_t b) {
    auto centred = [&](int ty, const char* text) {
        w->text(x + (width - TextWidth(w, text)) / 2, ty, text, Black, PanelColour);
    };
    centred(b - 60, gettext("Measuring, please wait"));
    const int k = std::clamp<int32_t>(sampleCount, 0, TankCalibSamples);
    const int v = samples[k > 0 ? k - 1 : 0];
    char line[256];
    if (activeSensor)
        std::snprintf(line, sizeof line, "%s: %d %%       %s: %d.%d %%", gettext("Processed"), k * 100 / TankCalibSamples,
                      gettext("Value"), v / 50, (v % 50) / 5);
    else
        std::snprintf(line, sizeof line, "%s: %d %%       %s: %d.%02d %%", gettext("Processed"),
                      k * 100 / TankCalibSamples, gettext("Value"), v / 100, std::abs(v % 100));
    centred(b + 5, line);
    const int barX = x + (width - 400) / 2;
    w->box(barX, b - 15, 400, 20, Black);
    for (int i = 1; i <= k; ++i) w->fillbox(barX + 20 * i - 15, b - 12, 10, 14, Black);
}

void TtankCalibration::DrawQuestion(FGDrawBuffer* w) {
    RoleFont(w, 10);
    w->set_mode(0);
    const int tw = TextWidth(w, question);
    const int bx = (800 - tw - 20) / 2;
    w->fillbox(bx, 250, tw + 20, 45, AlertColour);
    w->box(bx, 250, tw + 20, 45, Black);
    w->text(bx + 10, 260, question, White, AlertColour);
}

// The page model and its painting, the common frame of the setup information pages, and
// the pages of the units, the external devices, the radio memories, data sharing and the
// autopilot servos and axes.
#include "infopages.h"

#include <libintl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "averdata.h"
#include "chandesc.h"
#include "refreshlinks.h"
#include "checklist.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "infopage_build.h"
#include "overlays.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"
#include "wizards.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

// ---- page model ----

void PageBegin(TInfoPage* page, int x, int y, int w, int h) {
    page->x = x;
    page->y = y;
    page->w = w;
    page->h = h;
    page->textCount = 0;
    page->rectCount = 0;
}

TPageText* PageAdd(TInfoPage* page, int x, int y, const char* text, uint8_t align, uint8_t font) {
    if (page->textCount >= PageMaxTexts) return nullptr;
    TPageText* t = &page->texts[page->textCount++];
    t->x = x;
    t->y = y;
    t->font = font;
    t->align = align;
    t->shiftBy = 0;
    t->ink = PageTextColour;
    t->paper = PageBackColour;
    const char* src = text ? text : "";
    const size_t n = strnlen(src, sizeof t->text - 1);  // longer texts are cut
    memcpy(t->text, src, n);
    t->text[n] = '\0';
    return t;
}

TPageText* PageAddF(TInfoPage* page, int x, int y, uint8_t align, const char* format, ...) {
    char text[PageTextSize];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return PageAdd(page, x, y, text, align, PageFontBody);
}

void PageTitle(TInfoPage* page, const char* text, int y) {
    PageAdd(page, page->x + page->w / 2, y, text, PageAlignCentre, PageFontTitle);
}

void PageRect(TInfoPage* page, int x, int y, int w, int h, uint32_t colour, bool filled) {
    if (page->rectCount >= PageMaxRects) return;
    page->rects[page->rectCount++] = TPageRect{x, y, w, h, colour, static_cast<uint8_t>(filled ? 1 : 0)};
}

namespace {

constexpr uint8_t PageFontLabel = 8;  // the caption font, a size below the body
constexpr int PageLabelGap = 5;       // room between a label's end and its value
constexpr int PageInnerMargin = 5;    // room between a value's end and the page edge

int TextRight(const TInfoPage& page, const TPageText& t) {
    return PageTextLeft(page, t) + FGFontManager::textwidth(OverlayRoleFont(t.font), t.text);
}

}  // namespace

void FitValueColumn(TInfoPage* page, int first, int labelX, int valueX) {
    auto column = [&](int x, auto&& each) {
        for (int i = first < 0 ? 0 : first; i < page->textCount; ++i) {
            TPageText& t = page->texts[i];
            if (t.x == x && t.align == PageAlignLeft && t.shiftBy == 0 && t.text[0]) each(t);
        }
    };
    int labelEnd = 0, valueWidth = 0;
    column(labelX, [&](TPageText& t) { labelEnd = std::max(labelEnd, TextRight(*page, t)); });
    column(valueX, [&](TPageText& t) { valueWidth = std::max(valueWidth, TextRight(*page, t) - valueX); });
    if (labelEnd + PageLabelGap <= valueX) return;
    const int room = page->x + page->w - PageInnerMargin - valueWidth;
    const int moved = std::max(valueX, std::min(labelEnd + PageLabelGap, room));
    column(valueX, [&](TPageText& t) { t.x = moved; });
    column(labelX, [&](TPageText& t) {
        if (TextRight(*page, t) + PageLabelGap > moved) t.font = PageFontLabel;
    });
}

const TPageText* FindPageText(const TInfoPage& page, int x, int y) {
    for (int i = 0; i < page.textCount; ++i)
        if (page.texts[i].x == x && page.texts[i].y == y) return &page.texts[i];
    return nullptr;
}

namespace {

uint32_t Resolve(uint32_t colour) {
    if (colour == PageTextColour) return PanelPaper;
    if (colour == PageBackColour) return PanelInk;
    return colour;
}

}  // namespace

void PaintInfoPage(FGDrawBuffer* window, const TInfoPage& page, int fillOp, int textOp, uint32_t fillColour) {
    if (!window || page.w <= 0) return;
    window->set_mode(static_cast<unsigned>(fillOp));
    window->fillbox(page.x, page.y, page.w, page.h, fillColour);
    window->set_mode(static_cast<unsigned>(textOp));
    window->box(page.x, page.y, page.w, page.h, PanelPaper);
    for (int i = 0; i < page.rectCount; ++i) {
        const TPageRect& r = page.rects[i];
        if (r.filled)
            window->fillbox(r.x, r.y, r.w, r.h, Resolve(r.colour));
        else
            window->box(r.x, r.y, r.w, r.h, Resolve(r.colour));
    }
    for (int i = 0; i < page.textCount; ++i) {
        const TPageText& t = page.texts[i];
        if (!t.text[0]) continue;
        // The role fonts follow the language, Cyrillic included.
        SelectDisplayFont(window, OverlayRoleFont(t.font));
        window->text(PageTextLeft(page, t), t.y, t.text, Resolve(t.ink), Resolve(t.paper));
    }
}

int PageTextLeft(const TInfoPage& page, const TPageText& t) {
    const int id = OverlayRoleFont(t.font);
    int x = t.x;
    if (t.shiftBy > 0 && t.shiftBy <= page.textCount) x += FGFontManager::textwidth(id, page.texts[t.shiftBy - 1].text);
    const int w = FGFontManager::textwidth(id, t.text);
    if (t.align == PageAlignRight) x -= w;
    if (t.align == PageAlignCentre) x -= w / 2;
    return x;
}

// ---- formatting ----

int FormatFixedSigned(char* buffer, size_t size, int64_t value, int decimals) {
    if (!buffer || size == 0) return 0;
    if (decimals <= 0) return snprintf(buffer, size, "%lld", static_cast<long long>(value));
    if (decimals > 9) decimals = 9;
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const bool negative = value < 0;
    // Magnitude in unsigned arithmetic: INT64_MIN has no positive counterpart.
    const uint64_t m = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return snprintf(buffer, size, "%s%llu.%0*llu", negative ? "-" : "", static_cast<unsigned long long>(m / scale),
                    decimals, static_cast<unsigned long long>(m % scale));
}

const char* UnitsTitle() {
    const TUnitsSetting& u = UnitsSetting;
    const int16_t v[9] = {u.airspeed, u.altitude, u.temperature, u.fuel, u.baro,
                          u.verticalSpeed, u.enginePress, u.manifoldPress, u.distance};
    static const int16_t Presets[3][9] = {
        {2, 1, 1, 0, 1, 1, 1, 1, 0},  // metric
        {0, 0, 1, 2, 1, 0, 1, 1, 1},  // imperial UK
        {0, 0, 0, 1, 0, 0, 0, 0, 1},  // imperial US
    };
    static const char* const Titles[3] = {gettext_noop("Units Metric"), gettext_noop("Units Imperial UK"), gettext_noop("Units Imperial US")};
    for (int p = 0; p < 3; ++p)
        if (memcmp(v, Presets[p], sizeof v) == 0) return gettext(Titles[p]);
    return gettext("Units Custom");
}

const char* PickText(int index, std::initializer_list<const char*> texts) {
    if (index < 0 || index >= static_cast<int>(texts.size())) return "";
    const char* t = texts.begin()[index];
    return t[0] ? gettext(t) : "";
}

bool ChannelReads(uint32_t channel, int32_t* value) {
    int32_t v = 0;
    if (!AverReader || AverReader->GetValue(channel, v) != 0) return false;
    if (value) *value = v;
    return true;
}

// ---- units ----

void BuildUnitsPage(TInfoPage* page, int variant) {
    const TUnitsSetting& u = UnitsSetting;
    if (variant == 0) {
        PageBegin(page, 245, 165, 270, 150);
        PageTitle(page, UnitsTitle(), 175);
        const char* labels[5] = {gettext_noop("Airspeed:"), gettext_noop("Altitude:"), gettext_noop("Baro pressure:"), gettext_noop("Distance:"), gettext_noop("Vertical speed:")};
        const char* units[5] = {PickText(u.airspeed, {gettext_noop("kts"), gettext_noop("mph"), gettext_noop("km/h")}),
                                PickText(u.altitude, {gettext_noop("ft"), gettext_noop("m")}),
                                PickText(u.baro, {gettext_noop("inHg"), gettext_noop("mBar"), gettext_noop("torr")}),
                                PickText(u.distance, {gettext_noop("km"), gettext_noop("nm"), gettext_noop("sm")}),
                                PickText(u.verticalSpeed, {gettext_noop("ft/min"), gettext_noop("m/s"), gettext_noop("kts")})};
        for (int k = 0; k < 5; ++k) {
            PageAdd(page, 255, 200 + 20 * k, gettext(labels[k]));
            PageAdd(page, 405, 200 + 20 * k, units[k]);
        }
        return;
    }
    PageBegin(page, 245, 172, 270, 135);
    PageTitle(page, UnitsTitle(), 182);
    const char* labels[4] = {gettext_noop("MAN pressure:"), gettext_noop("Temperature:"), gettext_noop("Engine pressure:"), gettext_noop("Fuel quantity:")};
    const char* units[4] = {PickText(u.manifoldPress, {gettext_noop("inHg"), gettext_noop("mBar"), gettext_noop("torr")}),
                            PickText(u.temperature, {gettext_noop("\xB0" "F"), gettext_noop("\xB0" "C")}),
                            PickText(u.enginePress, {gettext_noop("psi"), gettext_noop("Bar"), gettext_noop("kg/cm2")}),
                            PickText(u.fuel, {gettext_noop("litre"), gettext_noop("gallons"), gettext_noop("gallons")})};
    for (int k = 0; k < 4; ++k) {
        PageAdd(page, 255, 207 + 20 * k, gettext(labels[k]));
        PageAdd(page, 425, 207 + 20 * k, units[k]);
    }
}

// ---- external devices ----

namespace {

enum { PortGps = 2, PortCompass = 3, PortSl30 = 4, PortCoGuardian = 5, PortEncoder = 6, PortComm = 7, PortXpdr = 8 };

const TDevicePort& Port(int subId) { return DevicePort[subId - 1]; }
bool Connected(int subId) { return (Port(subId).flags & PortConnected) != 0; }

// "Port: COM1; Baud rate: 9600; Protocol: NMEA"; protocols by the port's byte.
void PortBaudProtocol(char* out, size_t size, int subId, std::initializer_list<const char*> protocols) {
    const TDevicePort& p = Port(subId);
    const char* protocol = PickText(p.protocol, protocols);
    snprintf(out, size, "%s%d;  %s %d;  %s %s", gettext("Port: COM"), p.comPort, gettext("Baud rate:"),
             static_cast<int>(p.baud), gettext("Protocol:"), protocol[0] ? protocol : "---");
}

void PortOnly(char* out, size_t size, int subId) {
    if (!Connected(subId)) {
        snprintf(out, size, "%s", gettext("Not connected"));
        return;
    }
    snprintf(out, size, "%s%d", gettext("Port: COM"), Port(subId).comPort);
}

const char* OnLine(bool on) { return on ? gettext("ON-line") : gettext("OFF-line"); }

void Angle(char* out, size_t size, const char* name, int32_t hundredths) {
    const int64_t v = hundredths;
    const uint64_t m = v < 0 ? static_cast<uint64_t>(-v) : static_cast<uint64_t>(v);
    snprintf(out, size, "%s:  %c %llu\xB0 %02u'", name, v < 0 ? '-' : ' ', static_cast<unsigned long long>(m / 100),
             static_cast<unsigned>(m % 100 * 60 / 100));
}

void TransceiverRow(TInfoPage* page, int y) {
    char text[PageTextSize];
    PortOnly(text, sizeof text, PortComm);
    PageAdd(page, 245, y, text);
    PageAddF(page, 440, y, PageAlignLeft, "%s%s%s", gettext("Frequency step"),
             FreqStepSetting.step ? ": 25 " : ": 8.33 ", gettext("kHz"));
}

void TransponderRow(TInfoPage* page, int y) {
    char text[PageTextSize];
    if (Connected(PortXpdr))
        snprintf(text, sizeof text, "%s%d;  %s", gettext("Port: COM"), Port(PortXpdr).comPort,
                 OnLine(ChannelReads(echExtDevXpdrError, nullptr)));
    else
        snprintf(text, sizeof text, "%s", gettext("Not connected"));
    PageAdd(page, 245, y, text);
    char code[16];
    if (VfrCodeSetting.code)
        snprintf(code, sizeof code, "%hx", static_cast<unsigned short>(VfrCodeSetting.code));
    else
        snprintf(code, sizeof code, "%s", gettext("not set"));
    PageAddF(page, 440, y, PageAlignLeft, "%s: %s", gettext("VFR default"), code);
}

void GpsRow(TInfoPage* page, int y) {
    char text[2 * PageTextSize];
    if (Connected(PortGps)) {
        char ports[PageTextSize];
        PortBaudProtocol(ports, sizeof ports, PortGps, {"NMEA", "ARNAV"});
        snprintf(text, sizeof text, "%s;  %s", ports, OnLine(GpsValid != 0));
    } else {
        snprintf(text, sizeof text, "%s", gettext("Not connected"));
    }
    PageAdd(page, 180, y, text);
}

}  // namespace

void BuildDevicesPage(TInfoPage* page, int variant) {
    char text[PageTextSize];
    if (variant == 1) {
        PageBegin(page, 80, 115, 600, 150);
        PageAdd(page, 250, 125, gettext("External devices"), PageAlignLeft, PageFontTitle);
        const int y0 = 160;
        PageAdd(page, 100, y0, gettext("GPS:"));
        GpsRow(page, y0);
        PageAdd(page, 100, y0 + 20, gettext("CO Guardian:"));
        PortOnly(text, sizeof text, PortCoGuardian);
        PageAdd(page, 245, y0 + 20, text);
        PageAdd(page, 100, y0 + 40, gettext("Transceiver:"));
        TransceiverRow(page, y0 + 40);
        PageAdd(page, 100, y0 + 60, gettext("Transponder:"));
        TransponderRow(page, y0 + 60);
        return;
    }
    PageBegin(page, 80, 65, 600, 250);
    PageAdd(page, 250, 75, gettext("External devices"), PageAlignLeft, PageFontTitle);
    auto row = [](int k) { return 110 + 20 * (k - 1); };
    PageAdd(page, 100, row(1), gettext("GPS:"));
    GpsRow(page, row(1));

    PageAdd(page, 100, row(2), gettext("SL30:"));
    if (Connected(PortSl30))
        snprintf(text, sizeof text, "%s%d;  %s", gettext("Port: COM"), Port(PortSl30).comPort,
                 OnLine(ChannelReads(echNavFreqA, nullptr)));
    else
        snprintf(text, sizeof text, "%s", gettext("Not connected"));
    PageAdd(page, 180, row(2), text);

    PageAdd(page, 100, row(3), gettext("Remote compass:"));
    PageAddF(page, 245, row(3), PageAlignLeft, "%s,  %s",
             Connected(PortCompass) ? gettext("Connected") : gettext("Not connected"),
             (CompassSetting.calibFlags & CompassCalibMask) ? gettext("calibrated") : gettext("not calibrated"));
    Angle(text, sizeof text, gettext("Declination"), CompassSetting.declination);
    PageAdd(page, 245, row(4), text);
    PageAddF(page, 440, row(4), PageAlignLeft, "%s:  %d", gettext("Total mag. field (nT)"),
             static_cast<int>(CompassSetting.totalField));
    Angle(text, sizeof text, gettext("Inclination"), CompassSetting.inclination);
    PageAdd(page, 245, row(5), text);
    const char* mounting = CompassSetting.mounting == MountXFrontYLeft   ? gettext_noop("X Front, Y Left")
                           : CompassSetting.mounting == MountXFrontYDown  ? gettext_noop("X Front, Y Down")
                           : CompassSetting.mounting == MountXUpYRight ? gettext_noop("X Up, Y Right")
                                                           : gettext_noop("unknown");
    PageAddF(page, 440, row(5), PageAlignLeft, "%s:   %s", gettext("Build In"), gettext(mounting));

    PageAdd(page, 100, row(6), gettext("Altitude Encoder:"));
    if (Connected(PortEncoder))
        PortBaudProtocol(text, sizeof text, PortEncoder, {"ICARUS"});
    else
        snprintf(text, sizeof text, "%s", gettext("Not connected"));
    PageAdd(page, 245, row(6), text);

    PageAdd(page, 100, row(7), gettext("CO Guardian:"));
    PortOnly(text, sizeof text, PortCoGuardian);
    PageAdd(page, 245, row(7), text);
    PageAdd(page, 100, row(8), gettext("Transceiver:"));
    TransceiverRow(page, row(8));
    PageAdd(page, 100, row(9), gettext("Transponder:"));
    TransponderRow(page, row(9));
}

// ---- radio memories, data sharing ----

void BuildMemoryFieldsPage(TInfoPage* page) {
    PageBegin(page, 250, 122, 300, 255);
    PageTitle(page, gettext("Memory fields"), 132);
    for (int i = 1; i <= 10; ++i) {
        const int y = 167 + 20 * (i - 1);
        const TFreqMemorySetting& m = FreqMemorySetting[i - 1];
        PageAddF(page, 265, y, PageAlignLeft, "%s %d:", gettext("M"), i);
        if (m.frequency < 118000000)
            PageAdd(page, 405, y, " - - - ", PageAlignRight);
        else
            PageAddF(page, 405, y, PageAlignRight, "%d.%03d", static_cast<int>(m.frequency / 1000000),
                     static_cast<int>(m.frequency / 1000 % 1000));
        // The label fills all 8 characters without a terminator.
        char label[sizeof m.label + 1];
        memcpy(label, m.label, sizeof m.label);
        label[sizeof m.label] = '\0';
        PageAdd(page, 445, y, label[0] ? label : " - - - - ");
    }
}

void BuildDataSharingPage(TInfoPage* page) {
    PageBegin(page, 300, 200, 200, 100);
    PageTitle(page, gettext("Data sharing"), 210);
    // The menu stores the flight screen's (EFIS) priority in sub id 1, the engine's in 0.
    const char* texts[2];
    for (int sub = 0; sub < 2; ++sub) {
        const int p = DataSharingSetting[sub].priority;
        texts[sub] = p == 0 ? gettext_noop("Off ") : p == 1 ? gettext_noop("Low priority") : p == 2 ? gettext_noop("High priority") : gettext_noop("Unknow state");
    }
    PageAdd(page, 310, 245, gettext("EFIS:"));
    PageAdd(page, 365, 245, gettext(texts[1]));
    PageAdd(page, 310, 265, gettext("EMS:"));
    PageAdd(page, 365, 265, gettext(texts[0]));
}

// ---- autopilot ----

namespace {

enum { ServoPitch = 0, ServoRoll = 1 };

// The detected servo that carries the configured id of the axis, or null.
const TDetectedServo* FindDetected(int axis) {
    const int32_t id = ServoSetting[axis].servoId;
    const int n = DetectedServoCount < 0 ? 0 : DetectedServoCount > 2 ? 2 : DetectedServoCount;
    for (int i = 0; i < n; ++i)
        if (DetectedServo[i].servoId == id) return &DetectedServo[i];
    return nullptr;
}

void ServoRows(TInfoPage* page, int axis, int y) {
    const char* names[2][3] = {{gettext_noop("Pitch Servo Installed:"), gettext_noop("Pitch Servo Detected:"), gettext_noop("Pitch Servo Slip:")},
                               {gettext_noop("Roll Servo Installed:"), gettext_noop("Roll Servo Detected:"), gettext_noop("Roll Servo Slip:")}};
    const TDetectedServo* found = FindDetected(axis);
    PageAdd(page, 245, y, gettext(names[axis][0]));
    PageAdd(page, 430, y, ServoSetting[axis].installed ? gettext("YES") : gettext("NO"));
    PageAdd(page, 245, y + 20, gettext(names[axis][1]));
    PageAdd(page, 430, y + 20, found ? gettext("YES") : gettext("NO"));
    PageAdd(page, 245, y + 40, gettext(names[axis][2]));
    if (found)
        PageAddF(page, 430, y + 40, PageAlignLeft, "%d %%", static_cast<int>(found->slip));
    else
        PageAdd(page, 430, y + 40, " - - -");
}

void LeverRow(TInfoPage* page, int y, const char* label, int axis, uint32_t channel, char negative, char positive) {
    PageAdd(page, 235, y, gettext(label));
    const TDetectedServo* found = FindDetected(axis);
    int32_t v = 0;
    if (found && (found->flags & 1) && ChannelReads(channel, &v)) {
        const int64_t m = v < 0 ? -static_cast<int64_t>(v) : v;
        PageAddF(page, 495, y, PageAlignLeft, "%c %lld %%", v < 0 ? negative : positive,
                 static_cast<long long>((m + 5) / 10));
    } else {
        PageAdd(page, 495, y, " - - -");
    }
}

void AngleValue(TInfoPage* page, int x, int y, int32_t hundredths) {
    char number[32];
    FormatFixedSigned(number, sizeof number, hundredths / 10, 1);
    PageAddF(page, x, y, PageAlignLeft, "%s \xB0", number);
}

}  // namespace

void BuildServoSetupPage(TInfoPage* page) {
    PageBegin(page, 225, 150, 350, 200);
    PageTitle(page, gettext("Servo Setup"), 170);
    ServoRows(page, ServoRoll, 200);
    ServoRows(page, ServoPitch, 260);
    FitValueColumn(page, 0, 245, 430);
}

void BuildServoDeflectionPage(TInfoPage* page) {
    PageBegin(page, 215, 182, 370, 135);
    PageTitle(page, gettext("Servo Deflection"), 202);
    const int n = DetectedServoCount < 0 ? 0 : DetectedServoCount > 2 ? 2 : DetectedServoCount;
    const bool finished = n == 2 && (DetectedServo[0].flags & 1) && (DetectedServo[1].flags & 1);
    PageAdd(page, 235, 232, gettext("Calibration:"));
    PageAdd(page, 415, 232, finished ? gettext("FINISHED") : gettext("NOT DONE"));
    LeverRow(page, 252, gettext_noop("Roll Control Lever Position:"), ServoRoll, echCtrlPosServo2Actual, 'L', 'R');
    LeverRow(page, 272, gettext_noop("Pitch Control Lever Position:"), ServoPitch, echCtrlPosServo1Actual, 'B', 'F');
}

void BuildRollAxisPage(TInfoPage* page) {
    const TAutopilotSetting& a = AutopilotSetting;
    PageBegin(page, 225, 175, 350, 150);
    PageTitle(page, gettext("Roll axis"), 195);
    PageAdd(page, 245, 220, gettext("Control Sensitivity:"));
    PageAddF(page, 430, 220, PageAlignLeft, "%d", a.rollSensitivity);
    PageAdd(page, 245, 240, gettext("Mode:"));
    PageAdd(page, 430, 240, gettext(a.rollMode == 1 ? gettext_noop("Turn Rate ") : a.rollMode == 2 ? gettext_noop("Bank Angle") : gettext_noop("Unknow state")));
    PageAdd(page, 245, 260, gettext("Max. Bank Angle:"));
    AngleValue(page, 430, 260, a.maxBank);
    PageAdd(page, 245, 280, gettext("Turn Rate Target:"));
    AngleValue(page, 430, 280, a.turnRate);
}

void BuildPitchAxisPage(TInfoPage* page) {
    const TAutopilotSetting& a = AutopilotSetting;
    PageBegin(page, 220, 170, 360, 160);
    PageTitle(page, gettext("Pitch axis"), 190);
    PageAdd(page, 240, 215, gettext("Control Sensitivity:"));
    PageAddF(page, 430, 215, PageAlignLeft, "%d", a.pitchSensitivity);
    PageAdd(page, 240, 235, gettext("Mode:"));
    PageAdd(page, 430, 235,
            gettext(a.pitchMode == 1 ? gettext_noop("Vertical Speed") : a.pitchMode == 2 ? gettext_noop("Longitudinal Angle") : gettext_noop("Unknow state")));
    PageAdd(page, 240, 255, gettext("Max. Longit.  Angle:"));
    AngleValue(page, 430, 255, a.maxPitch);
    const char* unit = PickText(UnitsSetting.airspeed, {"kts", "mph", "km/h"});
    auto speed = [](int32_t v) -> int64_t {  // tenths of km/h
        return (static_cast<int64_t>(ConvertSpeed(UnitsSetting.airspeed, v)) + 5) / 10;
    };
    PageAdd(page, 240, 275, gettext("Min. Air Speed:"));
    PageAddF(page, 430, 275, PageAlignLeft, "%lld %s", static_cast<long long>(speed(a.minSpeed)), unit);
    PageAdd(page, 240, 295, gettext("Max. Air Speed:"));
    PageAddF(page, 430, 295, PageAlignLeft, "%lld %s", static_cast<long long>(speed(a.maxSpeed)), unit);
}

// ---- drawing by the show flags ----

namespace {

// One page object for every draw: the pages are drawn one after another on the main thread.
TInfoPage& Scratch() {
    static TInfoPage page;
    return page;
}

void DrawBuilt(FGDrawBuffer* window, void (*build)(TInfoPage*), int fillOp, int textOp, uint32_t fill) {
    TInfoPage& page = Scratch();
    build(&page);
    PaintInfoPage(window, page, fillOp, textOp, fill);
}

}  // namespace

void DrawVariantPage(FGDrawBuffer* window, void (*build)(TInfoPage*, int), int variant, int fillOp, int textOp,
                     uint32_t fill) {
    TInfoPage& page = Scratch();
    build(&page, variant);
    PaintInfoPage(window, page, fillOp, textOp, fill);
}

void DrawPlainPage(FGDrawBuffer* window, void (*build)(TInfoPage*), int fillOp, int textOp, uint32_t fill) {
    DrawBuilt(window, build, fillOp, textOp, fill);
}

int EngineVariant() { return ScreenType == ScreenEngine ? 1 : 0; }

void DrawUnitsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (UnitsPageShown) DrawVariantPage(window, BuildUnitsPage, EngineVariant(), fillOp, textOp, fillColour);
}
void DrawDevicesPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (DevicesPageShown) DrawVariantPage(window, BuildDevicesPage, EngineVariant(), fillOp, textOp, fillColour);
}
void DrawMemoryFieldsPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (MemoryFieldsShown) DrawBuilt(window, BuildMemoryFieldsPage, fillOp, textOp, fillColour);
}
void DrawDataSharingPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (DataSharingShown) DrawBuilt(window, BuildDataSharingPage, fillOp, textOp, fillColour);
}
void DrawServoSetupPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (ServoSetupShown) DrawBuilt(window, BuildServoSetupPage, fillOp, textOp, fillColour);
}
void DrawServoDeflectionPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (ServoDeflectionShown) DrawBuilt(window, BuildServoDeflectionPage, fillOp, textOp, fillColour);
}
void DrawRollAxisPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (RollAxisShown) DrawBuilt(window, BuildRollAxisPage, fillOp, textOp, fillColour);
}
void DrawPitchAxisPage(FGDrawBuffer* window, int fillOp, int textOp, uint32_t fillColour) {
    if (PitchAxisShown) DrawBuilt(window, BuildPitchAxisPage, fillOp, textOp, fillColour);
}

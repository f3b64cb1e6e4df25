#include "enginepage.h"

#include <libintl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "configmanager.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "gui_terr/glview.h"
#include "hkmeasure.h"
#include "hkutils.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellstate.h"
#include "units.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

TDisplayItem PageItems[PageItemRows];
TDisplayItem EngineStripItems[EngineStripItemCount];
TBarItem EngineBars[EngineBarCount];
TDisplayItem WaterBarItem;
TDialItem EngineDials[DialCount];
TEngineErrors EngineErrors;
int32_t ThermoBlockOffset = 0;
TEngineGLHooks EngineGLHooks = {nullptr, nullptr, nullptr};

namespace {

constexpr int32_t White = WhiteColour;
constexpr int32_t Black = 0x000000;
constexpr int32_t Never = INT32_MAX;  // a zone limit no value reaches
constexpr int BoxFont = 10;          // 16 px
constexpr int ReadoutFont = 12;      // 20 px

int32_t Red() { return static_cast<int32_t>(DisplayPalette.PalRed); }
int32_t Yellow() { return static_cast<int32_t>(DisplayPalette.PalYellow); }
int32_t Silver() { return static_cast<int32_t>(DisplayPalette.PalSilver); }
bool WideFlag() { return (DisplaySetting.screenWord & RuntimeFlag0) != 0; }
int TankCount() {
    if (!EngineGaugeConfig.tankUsed) return 0;
    return EngineGaugeConfig.twoTanks ? 2 : 1;
}

void SetBox(TDisplayItem& it, int x, int y, int width, int height, int font) {
    it.x = x;
    it.y = y;
    it.width = width;
    it.height = height;
    it.fontCode = font;
}

// A box of a bar: always painted on its alarm colour, which the frame sets.
void SetBarBox(TDisplayItem& it, int x, int y, int width) {
    SetBox(it, x, y, width, 20, BoxFont);
    it.warn = -1;
    it.alarm = ItemNoValue;
}

void SetBar(TBarItem& b, int x, int y, int orientation, int width, int height, int dx, int dy) {
    b.x = x;
    b.y = y;
    b.orientation = orientation;
    b.width = width;
    b.height = height;
    b.dx = dx;
    b.dy = dy;
}

// An upward 8 x 80 bar drawn 40 px below its anchor.
void SetColumn(TBarItem& b, int x, int y) { SetBar(b, x, y, BarUp, 8, 80, 0, 40); }

void SetBarColours(TBarItem& b, int32_t normal, int32_t warn, int32_t alarm) {
    b.normalColour = normal;
    b.warnColour = warn;
    b.alarmColour = alarm;
}

// Range of a bar from another record, with zones that never colour it.
void SetPlainRange(TBarItem& b, int32_t min, int32_t max) {
    b.min = min;
    b.max = max;
    b.warn = b.alarm = Never;
    SetBarColours(b, Silver(), Silver(), Silver());
}

// Range and zones of a bar from a dial's configuration (a zero limit: no zone).
void SetDialRange(TBarItem& b, const TInstrumentConfig& c) {
    b.min = c.minimum;
    b.max = c.maximum;
    b.warn = c.yellowStart ? c.yellowStart : Never;
    b.alarm = c.redStart ? c.redStart : Never;
    SetBarColours(b, White, Yellow(), Red());
}

// ---- thermocouples ----

struct TThermoGroup {
    TBarItem* bars;
    int firstRow;
    int slots;   // cylinders
    int base;    // y of the first EGT box and ERR mark, before the offset
};

TThermoGroup ThermoGroup(int cylinders) {
    switch (cylinders) {
        case 6: return {ThermoBarsPage, RowThermo6, 6, 308};
        case 4: return {ThermoBarsStrip, RowThermo4, 4, 338};
        case 2: return {ThermoBarsCombined, RowThermo2, 2, 352};
        default: return {nullptr, 0, 0, 0};
    }
}

const TDisplayItem* ThermoLimits(int cylinders) {
    return cylinders == 6 ? ThermoItemsPage : cylinders == 4 ? ThermoItemsStrip : ThermoItemsCombined;
}

void PlaceThermoBar(TBarItem& b, int x, int y) {
    if (x < 100)
        SetBar(b, x, y, BarLeft, 48, 8, 52, 0);
    else
        SetBar(b, x, y, BarRight, 48, 8, 0, 0);
    SetBarColours(b, White, Yellow(), Red());
}

void PlaceThermocouples() {
    const int d = ThermoBlockOffset;
    // A pilot reads the bar next to the number: each cylinder's pair of bars stands in
    // its boxes' row, on their side of the engine (odd cylinders right, even left).
    static const int barY6[3] = {317, 373, 429};
    static const int barY4[2] = {347, 403};
    static const int barY2[1] = {362};
    static const int egtY6[6] = {308, 308, 364, 364, 420, 420};
    static const int egtY4[4] = {338, 338, 394, 394};
    for (int cylinders : {6, 4, 2}) {
        const TThermoGroup g = ThermoGroup(cylinders);
        const int* barY = cylinders == 6 ? barY6 : cylinders == 4 ? barY4 : barY2;
        const TDisplayItem* limits = ThermoLimits(cylinders);
        for (int slot = 0; slot < g.slots; ++slot) {
            const bool right = slot % 2 == 0;
            const int x = right ? 236 : 14;
            const int egtY = (cylinders == 6 ? egtY6[slot] : cylinders == 4 ? egtY4[slot] : 354) - d;
            const int chtY = cylinders == 6 && slot >= 4 ? 438 - d : egtY + 20;
            for (int k = 0; k < 2; ++k) {
                const int i = 2 * slot + k;
                TDisplayItem& it = PageItems[g.firstRow + i];
                SetBox(it, x, k == 0 ? egtY : chtY, 40, 20, BoxFont);
                it.warn = limits[i].warn;
                it.alarm = limits[i].alarm;
                it.textColour = White;
                it.warnColour = Yellow();
                it.alarmColour = Red();
                PlaceThermoBar(g.bars[i], right ? 173 : 23, barY[slot / 2] - d + 13 * k);
            }
        }
    }
}

// ---- fuel ----

// The page's fuel boxes: each value ends just left of the unit that the background
// writes on its line (at least 2 px before it), and the boxes stand 3 px below their
// bars' feet, under the scales' bottom labels ("E", "0"): the box's paper leaves them whole.
constexpr int FuelBoxWidth = 47;

void PlaceFuel() {
    const int tanks = TankCount();
    const bool flow = EngineGaugeConfig.fuelFlowUsed != 0, press = EngineGaugeConfig.fuelPressUsed != 0;
    // Tanks.
    const int tank1X = tanks == 2 ? 340 : 383;
    SetColumn(EngineBars[BarTank1], tank1X, 184);
    SetBarBox(PageItems[RowTank1], tanks == 2 ? 308 : 351, 307, FuelBoxWidth);
    SetColumn(EngineBars[BarTank2], 448, 184);
    SetBarBox(PageItems[RowTank2], 408, 307, FuelBoxWidth);
    // Pressure and flow: one row, moved up without tanks.
    const int barY = tanks ? 310 : 250, boxY = tanks ? 433 : 373;
    int pressX = 383, pressBox = 352, flowX = 405, flowBox = 365;
    if (flow && press) {
        pressX = 340;
        pressBox = 310;
        flowX = 448;
        flowBox = 408;
    }
    SetColumn(EngineBars[BarFuelPress], pressX, barY);
    SetBarBox(PageItems[RowFuelPress], pressBox, boxY, FuelBoxWidth);
    SetColumn(EngineBars[BarFuelFlow], flowX, barY);
    SetBarBox(PageItems[RowFuelFlow], flowBox, boxY, FuelBoxWidth);

    for (int i = 0; i < 2; ++i) {
        for (int bar : {BarTank1 + i, BarNarrowTank1 + i, BarWideFuel1 + i})
            SetPlainRange(EngineBars[bar], TankBar[i].min, TankBar[i].max);
    }
    for (int bar : {BarFuelPress, BarWideFuelPress}) {
        EngineBars[bar].min = FuelPressBar.min;
        EngineBars[bar].max = FuelPressBar.max;
        EngineBars[bar].warn = EngineBars[bar].alarm = Never;  // the frame colours all three zones
    }
    SetPlainRange(EngineBars[BarFuelFlow], FuelFlowBar.min, FuelFlowBar.max);
    SetPlainRange(EngineBars[BarWideFuelFlow], FuelFlowBar.min, FuelFlowBar.max);
}

// ---- the strip ----

void PlaceStrip() {
    SetBar(EngineBars[BarNarrowTank1], 748, -2, BarUp, 8, 80, 0, 40);
    SetBar(EngineBars[BarNarrowTank2], 748, 138, BarUp, 8, 80, 0, 40);
    SetBarBox(EngineStripItems[StripTank1], 715, 141, 72);  // under the gauge's unit caption
    SetBarBox(EngineStripItems[StripTank2], 715, 282, 72);
    static const int columnX[4] = {582, 637, 692, 747};
    static const int boxX[4] = {561, 616, 671, 726};
    const int upper[4] = {BarWideFuel1, BarWideFuel2, BarWideFuelPress, BarWideFuelFlow};
    const int lower[4] = {BarWideOilPress, BarWideOilTemp, -1, BarWideAux};  // water: the water bar
    for (int i = 0; i < 4; ++i) {
        SetColumn(EngineBars[upper[i]], columnX[i], 130);
        if (lower[i] >= 0) SetColumn(EngineBars[lower[i]], columnX[i], 267);
        SetBarBox(EngineStripItems[StripBoxFuel1 + i], boxX[i], 253, 50);
        SetBarBox(EngineStripItems[StripBoxOilPress + i], boxX[i], 390, 50);
    }
    SetDialRange(EngineBars[BarWideOilPress], EngineDialConfig[DialStripOilPress]);
    SetDialRange(EngineBars[BarWideOilTemp], EngineDialConfig[DialStripOilTemp]);
    SetDialRange(EngineBars[BarWideAux], EngineDialConfig[DialAuxTemp]);
    SetDialRange(EngineBars[BarWater], EngineDialConfig[DialWater]);

    SetBox(EngineStripItems[StripRpmNarrow], 580, 110, 81, 20, ReadoutFont);
    SetBox(EngineStripItems[StripMapNarrow], 735, 110, 48, 20, ReadoutFont);
    SetBox(EngineStripItems[StripRpmWide], 612, 108, 77, 20, ReadoutFont);
    SetBox(EngineStripItems[StripFourthWide], 612, 249, 77, 20, ReadoutFont);
    SetBox(EngineStripItems[StripOilPressWide], 590, 390, 50, 18, BoxFont);
    SetBox(EngineStripItems[StripOilTempWide], 666, 390, 50, 18, BoxFont);
}

// ---- dials ----

// Value box of each dial slot.
TDisplayItem* DialItem(int dial) {
    static const int pageRows[6] = {RowRpm, RowOilPress, RowOilTemp, RowFourth, RowAuxTemp, RowWater};
    static const int stripItems[6] = {StripRpmWide, StripOilPressWide, StripOilTempWide,
                                      StripFourthWide, StripRpmNarrow, StripMapNarrow};
    if (dial < 0 || dial >= DialCount) return nullptr;
    return dial < 6 ? &PageItems[pageRows[dial]] : &EngineStripItems[stripItems[dial - 6]];
}

// The strip's GL faces are rendered in setup mode: the strip view starts 243 px from the
// right and the 20-px setup margin shifts the faces up (GL y runs upwards).
constexpr int StripFaceLeft = GLViewWidth - 243;
constexpr int StripFaceBottom = GLViewHeight - 20 - 1;

// A 2-D needle over its GL face: same hub and the same sweep, turned into screen
// degrees (clockwise, y down); five sixths of the face's radius.
void PlaceOnFace(TDialItem& n, const TInstrumentConfig& c) {
    n.cx = StripFaceLeft + c.cx;
    n.cy = StripFaceBottom - c.cy;
    const int32_t span = std::abs(c.endAngle - c.startAngle);
    n.startAngle = ((-c.startAngle) % 360 + 360) % 360;
    n.endAngle = n.startAngle + (c.clockwise ? span : -span);
    n.radius = c.radius * 5 / 6;
}

void PlaceDials() {
    for (int dial = 0; dial < DialCount; ++dial) {
        TDialItem& n = EngineDials[dial];
        n.min = EngineDialConfig[dial].minimum;
        n.max = EngineDialConfig[dial].maximum;
        if (dial < DialStripRpm) {
            n.enabled = 0;
            continue;
        }
        PlaceOnFace(n, EngineDialConfig[dial]);
        n.width = 6;
        n.enabled = 1;
        n.colour = White;
    }
    // The page's readouts sit in the boxes that the dial colours (cy - 205, 500 - cy).
    for (int dial = DialRpm; dial <= DialWater; ++dial) {
        const TInstrumentConfig& c = EngineDialConfig[dial];
        TDisplayItem& it = *DialItem(dial);
        switch (dial) {
            case DialRpm:
            case DialFourth: SetBox(it, c.cx - 44, c.cy - 203, 88, 22, ReadoutFont); break;
            case DialOilPress: SetBox(it, c.cx - 44, c.cy - 203, 52, 22, ReadoutFont); break;
            case DialOilTemp: SetBox(it, c.cx - 5, c.cy - 203, 52, 22, ReadoutFont); break;
            case DialAuxTemp: SetBox(it, c.cx - 44, 502 - c.cy, 52, 22, ReadoutFont); break;
            default: SetBox(it, c.cx - 5, 502 - c.cy, 52, 22, ReadoutFont); break;
        }
    }
    for (int dial = 0; dial < DialCount; ++dial) {
        TDisplayItem& it = *DialItem(dial);
        it.warn = 0;  // the readout box carries the zone colour
        it.textColour = White;
    }
}

// Rows 22..29 (air temperatures and times) under the captions of the background,
// rows 4..9 (volts and amps) in its two small-value columns.
void PlaceTextRows() {
    for (int i = 0; i < 8; ++i) {
        TDisplayItem& it = PageItems[RowIat + i];
        const int cx = i % 2 == 0 ? 555 : 652;
        SetBox(it, cx - 48, 253 + 50 * (i / 2), 96, 20, BoxFont);
        it.value = ItemLabel;
        it.textColour = White;
    }
    for (int i = 0; i < 6; ++i) {
        TDisplayItem& it = PageItems[RowSupply + i];
        const int cx = i < 3 ? 79 : 217;
        SetBox(it, cx - 50, 249 + 30 * (i % 3), 100, 20, BoxFont);
    }
}

int OilPressDecimals() {
    const int u = UnitsSetting.enginePress;
    return u == UnitBar || u == UnitKpCm2 ? 1 : 0;
}
int FuelPressDecimals() {
    switch (UnitsSetting.enginePress) {
        case UnitPsi: return 1;
        case UnitKPa: return 0;
        default: return 2;
    }
}
// The manifold-pressure scale runs in hundredths of inHg, the refresh gives tenths.
int32_t MapOnScale(int32_t map) {
    if (map == NoValue || UnitsSetting.manifoldPress != UnitInHg) return map;
    return SatInt32(static_cast<int64_t>(map) * 10);
}

void SetValue(TDisplayItem& it, int32_t v, int decimals) {
    it.value = v;
    it.decimals = decimals;
    if (v == NoValue) SetItemText(it.text, "- - -");
}

uint8_t Missing(int32_t v) { return v == NoValue ? 1 : 0; }

// ---- marks ----

void SelectFont16(FGDrawBuffer* w) { SelectDisplayFont(w, LanguageFont(FontEuromode16, FontMsRefSans16)); }

void DrawMark(int x, int y, const char* text, int32_t paper) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    SelectFont16(w);
    w->set_mode(DrawModeCopy);
    w->text(x, y, gettext(text), Black, static_cast<FGPixel>(paper));
}

// A tank's mark: CAL until calibrated, else ERR with a failed read.
void TankMark(int tank, int x, int y) {
    if (!TankSetting[tank].calibrated)
        DrawCalMark(x, y);
    else if (EngineErrors.fuelLevel[tank])
        DrawErrMark(x, y);
}

void FuelPressMarks(int x, int y) {
    if (RefreshValues.fuelPressUncalibrated) DrawCalMark(x, y);
    if (EngineErrors.fuelPress) DrawErrMark(x, y);
}

// ---- colours ----

// Limits of a dial, a zero limit meaning none.
bool Above(int32_t v, int32_t limit) { return limit != 0 && v > limit; }
bool AtLeast(int32_t v, int32_t limit) { return limit != 0 && v >= limit; }
bool Below(int32_t v, int32_t limit) { return limit != 0 && v < limit; }

// Wide-strip oil colours: the bar and box from the dial's value against its arcs.
void OilColours(int dial, int bar, int box, uint8_t error) {
    const TInstrumentConfig& c = EngineDialConfig[dial];
    const int32_t v = EngineDials[dial].value;
    TBarItem& b = EngineBars[bar];
    TDisplayItem& it = EngineStripItems[box];
    int32_t colour = White;
    it.alarmColour = Black;
    it.textColour = White;
    if (Below(v, c.lowRedEnd) || AtLeast(v, c.redStart)) {
        colour = it.alarmColour = Red();
    } else if (Below(v, c.lowYellowEnd) || AtLeast(v, c.yellowStart)) {
        colour = it.alarmColour = Yellow();
        if (!error) it.textColour = Black;
    }
    SetBarColours(b, colour, colour, colour);
    b.warn = b.alarm = Never;
}

void BarWith(int bar, TDisplayItem& item, uint32_t channel, uint8_t error) {
    DrawBarWithItem(&EngineBars[bar], &item, channel, error);
}

void DrawThermocouples() {
    const int cylinders = EngineGaugeConfig.cylinders;
    const TThermoGroup g = ThermoGroup(cylinders);
    if (!g.bars) return;
    for (int i = 0; i < 2 * g.slots; ++i) DrawBarItem(&g.bars[i]);
    for (int slot = 0; slot < g.slots; ++slot) {
        if (EngineGaugeConfig.egt[slot].thermocouple) DrawDisplayItem(&PageItems[g.firstRow + 2 * slot]);
        if (EngineGaugeConfig.cht[slot].thermocouple) DrawDisplayItem(&PageItems[g.firstRow + 2 * slot + 1]);
    }
    const int base = g.base - ThermoBlockOffset;
    for (int k = 0; k < 2; ++k) {
        for (int slot = 0; slot < g.slots; ++slot) {
            const TThermoSlot& s = k == 0 ? EngineGaugeConfig.egt[slot] : EngineGaugeConfig.cht[slot];
            if (!s.thermocouple || !EngineErrors.thermo[2 * slot + k]) continue;
            DrawErrMark(slot % 2 == 0 ? 176 : 78, base + 56 * (slot / 2) + 22 * k);
        }
    }
}

// ---- canopy, autopilot and gear ----

struct TSlotPlace {
    int picX, picY, textX, textY, text2X, text2Y;
};

TSlotPlace CanopySlot(int i) {
    if (ScreenType == ScreenEngine) return {720, 211 + 35 * i, 729, 211 + 35 * i, 735, 223 + 35 * i};
    if (ScreenType == ScreenFlight) return {560, 325 + 35 * i, 569, 325 + 35 * i, 575, 337 + 35 * i};
    return {592 + 73 * i, 424, 601 + 73 * i, 424, 607 + 73 * i, 436};
}

bool InputActive(int mode, int bit) {
    const bool set = (RefreshValues.inputBits & bit) != 0;
    return (mode == 1 && set) || (mode == 2 && !set);
}

void SlotPicture(int picture, const TSlotPlace& p) {
    FGBitmap* pic = MainPictures[picture];
    if (pic && MainWindow) MainWindow->bitblt(p.picX, p.picY, 0, 0, pic->width, pic->height, pic);
}

void SlotError(const char* name, const TSlotPlace& p) {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    SelectFont16(w);
    w->set_mode(DrawModeKeyed);
    const FGPixel red = DisplayPalette.PalRed;
    w->text(p.textX, p.textY, gettext(name), red, PageKeyColour);
    w->text(p.text2X, p.text2Y, gettext("ERR "), red, PageKeyColour);
}

}  // namespace

void DrawErrMark(int x, int y) { DrawMark(x, y, gettext_noop("  ERR  "), Red()); }
void DrawCalMark(int x, int y) { DrawMark(x, y, gettext_noop("  CAL  "), Yellow()); }

void PlaceEngineItems() {
    PlaceThermocouples();
    PlaceFuel();
    PlaceStrip();
    PlaceDials();
    PlaceTextRows();
    for (int row : {RowTank1, RowTank2, RowFuelPress, RowFuelFlow}) PageItems[row].textColour = White;
    for (TDisplayItem& it : EngineStripItems) {
        it.textColour = White;
        it.warnColour = Yellow();
    }
}

void TakeEngineValues() {
    const TRefreshValues& r = RefreshValues;
    TEngineErrors& e = EngineErrors;
    const bool rotor = EngineGaugeConfig.rotorRpmUsed != 0;
    e.rpm = Missing(r.rpm);
    e.rpmAux = Missing(r.rpmAux);
    e.map = Missing(r.map);
    e.oilPress = Missing(r.oilPress);
    e.oilTemp = Missing(r.oilTemp);
    e.water = Missing(r.water);
    e.auxTemp = Missing(r.auxTemp);
    e.fuelLevel[0] = Missing(r.fuelLevel[0]);
    e.fuelLevel[1] = Missing(r.fuelLevel[1]);
    e.fuelPress = Missing(r.fuelPress);
    e.fuelFlow = Missing(r.fuelFlow);
    for (int i = 0; i < 12; ++i) e.thermo[i] = Missing(r.thermo[i]);

    // Dials: the needle on the dial's scale, the box in the display unit.
    const int oilDec = OilPressDecimals(), mapDec = UnitsSetting.manifoldPress == UnitInHg ? 1 : 0;
    const int32_t fourthBox = rotor ? r.rpmAux : r.map;
    const int32_t fourthDial = rotor ? r.rpmAux : MapOnScale(r.map);
    const int32_t dialValue[DialCount] = {r.rpm, r.oilPress, r.oilTemp, fourthDial, r.auxTemp, r.water,
                                          r.rpm, r.oilPress, r.oilTemp, fourthDial, r.rpm, MapOnScale(r.map)};
    const int32_t boxValue[DialCount] = {r.rpm, r.oilPress, r.oilTemp, fourthBox, r.auxTemp, r.water,
                                         r.rpm, r.oilPress, r.oilTemp, fourthBox, r.rpm, r.map};
    const int fourthDec = rotor ? 0 : mapDec;
    const int boxDec[DialCount] = {0, oilDec, 0, fourthDec, 0, 0, 0, oilDec, 0, fourthDec, 0, mapDec};
    for (int dial = 0; dial < DialCount; ++dial) {
        EngineDials[dial].value = dialValue[dial];
        SetValue(*DialItem(dial), boxValue[dial], boxDec[dial]);
    }
    // The page draws row 30 with its text rows: blank while the layout has no such dial.
    if (EngineDialConfig[DialAuxTemp].covered) {
        PageItems[RowAuxTemp].value = ItemPlainText;
        PageItems[RowAuxTemp].text[0] = '\0';
    }

    // Bars and their boxes.
    const int fuelDec = FuelPressDecimals();
    for (int i = 0; i < 2; ++i) {
        for (int bar : {BarTank1 + i, BarNarrowTank1 + i, BarWideFuel1 + i}) EngineBars[bar].value = r.fuelLevel[i];
        SetValue(PageItems[i == 0 ? RowTank1 : RowTank2], r.fuelLevel[i], 1);
        SetValue(EngineStripItems[StripTank1 + i], r.fuelLevel[i], 1);
        SetValue(EngineStripItems[StripBoxFuel1 + i], r.fuelLevel[i], 1);
    }
    EngineBars[BarFuelPress].value = EngineBars[BarWideFuelPress].value = r.fuelPress;
    SetValue(PageItems[RowFuelPress], r.fuelPress, fuelDec);
    SetValue(EngineStripItems[StripBoxFuelPress], r.fuelPress, fuelDec);
    EngineBars[BarFuelFlow].value = EngineBars[BarWideFuelFlow].value = r.fuelFlow;
    SetValue(PageItems[RowFuelFlow], r.fuelFlow, 1);
    SetValue(EngineStripItems[StripBoxFuelFlow], r.fuelFlow, 1);
    EngineBars[BarWideOilPress].value = r.oilPress;
    SetValue(EngineStripItems[StripBoxOilPress], r.oilPress, oilDec);
    EngineBars[BarWideOilTemp].value = r.oilTemp;
    SetValue(EngineStripItems[StripBoxOilTemp], r.oilTemp, 0);
    EngineBars[BarWideAux].value = r.auxTemp;
    SetValue(EngineStripItems[StripBoxAux], r.auxTemp, 0);

    // Thermocouples of every group (the group drawn follows the cylinder count).
    for (int cylinders : {6, 4, 2}) {
        const TThermoGroup g = ThermoGroup(cylinders);
        for (int i = 0; i < 2 * g.slots; ++i) {
            g.bars[i].value = r.thermo[i];
            TDisplayItem& it = PageItems[g.firstRow + i];
            SetValue(it, r.thermo[i], 0);
        }
    }

    // Texts of the page.
    const char* texts[8] = {r.iatText, r.oatText, r.fuelUsedText, r.enduranceText,
                            r.engineTimeText, r.flightTimeText, r.clockText, r.dateText};
    for (int i = 0; i < 8; ++i) SetItemText(PageItems[RowIat + i].text, texts[i]);
    for (int i = 0; i < 6; ++i) {
        TDisplayItem& it = PageItems[RowSupply + i];
        const TDisplayItem& s = SupplyItems[i];
        std::memcpy(it.text, s.text, sizeof it.text);
        it.value = SupplyItemOn[i] ? s.value : ItemPlainText;
        if (!SupplyItemOn[i]) it.text[0] = '\0';
        it.decimals = s.decimals;
        it.warn = s.warn;
        it.alarm = s.alarm;
        // A warning colours the box and writes the text black; an unformatted item stays white.
        it.textColour = s.textColour || s.warnColour ? s.textColour : White;
        it.warnColour = s.warnColour;
        it.alarmColour = s.alarmColour;
    }
}

void PlaceInstTempItem() {
    TDisplayItem& label = PageItems[RowInstTempLabel];
    TDisplayItem& value = PageItems[RowInstTemp];
    char text[17];
    snprintf(text, sizeof text, "%s", gettext("Inst.Temp."));
    SetItemText(label.text, text);
    for (TDisplayItem* it : {&label, &value}) {
        it->width = 80;
        it->height = 20;
        it->fontCode = BoxFont;
        it->value = ItemPlainText;
        it->textColour = White;
        it->warnColour = it->alarmColour = Red();
    }
    WaterBarItem.warn = -1;
    WaterBarItem.alarm = ItemNoValue;
    WaterBarItem.textColour = White;
    WaterBarItem.alarmColour = Black;
    TBarItem& water = EngineBars[BarWater];
    switch (ScreenType) {
        case ScreenEngine:
            label.x = value.x = 715;
            label.y = 405;
            value.y = 425;
            SetBar(water, 380, -10, BarUp, 8, 80, 0, 40);
            SetBox(WaterBarItem, 375, 146, 56, 30, 18);
            break;
        case ScreenFlight:
            label.x = value.x = 540;
            label.y = 355;
            value.y = 375;
            break;
        default:
            label.x = value.x = 340;
            label.y = 355;
            value.y = 375;
            SetBar(water, 692, 267, BarUp, 8, 80, 0, 40);
            // The wide strip's row font: a 23-px "186" (water in F) would spill out of
            // its 50-px column over the oil temperature's unit.
            SetBox(WaterBarItem, 671, 390, 50, 20, BoxFont);
            break;
    }
}

void DrawInstTemp() {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    TDisplayItem& label = PageItems[RowInstTempLabel];
    TDisplayItem& value = PageItems[RowInstTemp];
    if (InstTempShown) {
        const int32_t t = RefreshValues.instTemp;
        if (t < 795) {
            InstTempShown = 0;
        } else {
            char number[FixTextSize];
            FixToText(number, t, 1);
            char text[64];
            snprintf(text, sizeof text, "%s %s", number, gettext("\xB0" "C"));
            SetItemText(value.text, text);
            w->set_mode(DrawModeCopy);
            w->fillbox(label.x, label.y - 2, value.width, label.height + value.height, DisplayPalette.PalRed);
            DrawDisplayItem(&label);
            DrawDisplayItem(&value);
        }
    }
    const bool pageWater = ScreenType == ScreenEngine && !WideFlag();
    const bool stripWater = ScreenType == ScreenFlightEms && (LayoutCaps & CapEnginePage) && WideFlag();
    if (!EngineGaugeConfig.waterChtUsed || !(pageWater || stripWater)) return;
    TBarItem& bar = EngineBars[BarWater];
    bar.value = EngineDials[DialWater].value;
    WaterBarItem.value = PageItems[RowWater].value;
    WaterBarItem.decimals = PageItems[RowWater].decimals;
    SetItemText(WaterBarItem.text, PageItems[RowWater].text);
    DrawBarWithItem(&bar, &WaterBarItem, echTempWater, EngineErrors.water);
    if (EngineErrors.water) DrawErrMark(bar.x - 12, bar.y + 70);
}

void DrawEngineBars() {
    if (!MainWindow) return;
    const int tanks = TankCount();
    const TEngineErrors& e = EngineErrors;
    // 1. Tanks: red boxes below the low-fuel limit.
    for (int i = 0; i < tanks && i < 2; ++i) {
        TDisplayItem* boxes[2] = {&PageItems[i == 0 ? RowTank1 : RowTank2], &EngineStripItems[StripTank1 + i]};
        const bool low = EngineBars[BarTank1 + i].value < TankLowLimit[i];
        for (TDisplayItem* it : boxes) {
            it->alarmColour = low ? Red() : Black;
            it->textColour = White;
        }
    }
    // 2. Fuel pressure against its four limits.
    {
        TBarItem& b = EngineBars[BarFuelPress];
        TDisplayItem& it = PageItems[RowFuelPress];
        const int32_t v = b.value;
        int32_t colour = White;
        it.alarmColour = Black;
        it.textColour = White;
        if (v < FuelPressLimits[0] || v >= FuelPressLimits[3]) {
            colour = it.alarmColour = Red();
        } else if (v < FuelPressLimits[1] || v >= FuelPressLimits[2]) {
            colour = it.alarmColour = Yellow();
            if (!e.fuelPress) it.textColour = Black;
        }
        SetBarColours(b, colour, colour, colour);
        SetBarColours(EngineBars[BarWideFuelPress], colour, colour, colour);
        EngineStripItems[StripBoxFuelPress].alarmColour = it.alarmColour;
        EngineStripItems[StripBoxFuelPress].textColour = it.textColour;
    }
    // 3. Fuel flow above its high limit.
    {
        TDisplayItem& it = PageItems[RowFuelFlow];
        const int32_t high = ConvertFuelQuantity(UnitsSetting.fuel, LimitFuelFlow.alarm);
        it.alarmColour = EngineBars[BarFuelFlow].value > high ? Red() : Black;
        it.textColour = White;
    }
    const bool press = EngineGaugeConfig.fuelPressUsed != 0, flow = EngineGaugeConfig.fuelFlowUsed != 0;
    if (ScreenType == ScreenEngine) {
        if (!WideFlag()) DrawThermocouples();
        if (tanks >= 1) {
            BarWith(BarTank1, PageItems[RowTank1], echFuelLevel1, e.fuelLevel[0]);
            TankMark(0, tanks == 2 ? 330 : 372, 250);
        }
        if (tanks == 2) {
            BarWith(BarTank2, PageItems[RowTank2], echFuelLevel2, e.fuelLevel[1]);
            TankMark(1, 430, 250);
        }
        if (press) {
            const TBarItem& b = EngineBars[BarFuelPress];
            BarWith(BarFuelPress, PageItems[RowFuelPress], echPressFuel, e.fuelPress);
            FuelPressMarks(b.x - 10, b.y + 70);
        }
        if (flow) {
            const TBarItem& b = EngineBars[BarFuelFlow];
            BarWith(BarFuelFlow, PageItems[RowFuelFlow], echFuelFlow, e.fuelFlow);
            if (e.fuelFlow) DrawErrMark(b.x - 18, b.y + 70);
        }
        return;
    }
    if (ScreenType != ScreenFlightEms) return;
    if (WideFlag()) {
        OilColours(DialStripOilPress, BarWideOilPress, StripBoxOilPress, e.oilPress);
        OilColours(DialStripOilTemp, BarWideOilTemp, StripBoxOilTemp, e.oilTemp);
        EngineStripItems[StripBoxAux].alarmColour = Black;
        if (tanks >= 1) {
            BarWith(BarWideFuel1, EngineStripItems[StripBoxFuel1], echFuelLevel1, e.fuelLevel[0]);
            TankMark(0, 570, 200);
        }
        if (tanks == 2) {
            BarWith(BarWideFuel2, EngineStripItems[StripBoxFuel2], echFuelLevel2, e.fuelLevel[1]);
            TankMark(1, 625, 200);
        }
        if (press) {
            BarWith(BarWideFuelPress, EngineStripItems[StripBoxFuelPress], echPressFuel, e.fuelPress);
            FuelPressMarks(680, 200);
        }
        if (flow) {
            BarWith(BarWideFuelFlow, EngineStripItems[StripBoxFuelFlow], echFuelFlow, e.fuelFlow);
            if (e.fuelFlow) DrawErrMark(735, 200);
        }
        if (EngineGaugeConfig.oilPressUsed) {
            BarWith(BarWideOilPress, EngineStripItems[StripBoxOilPress], echPressOil, e.oilPress);
            if (e.oilPress) DrawErrMark(570, 337);
        }
        if (EngineGaugeConfig.oilTempUsed) {
            BarWith(BarWideOilTemp, EngineStripItems[StripBoxOilTemp], echTempOil, e.oilTemp);
            if (e.oilTemp) DrawErrMark(625, 337);
        }
        if (EngineGaugeConfig.waterAuxUsed) {
            BarWith(BarWideAux, EngineStripItems[StripBoxAux], echTempAux1, e.auxTemp);
            if (e.auxTemp) DrawErrMark(735, 337);
        }
        return;
    }
    if (tanks >= 1) {
        BarWith(BarNarrowTank1, EngineStripItems[StripTank1], echFuelLevel1, e.fuelLevel[0]);
        TankMark(0, 735, 70);
    }
    if (tanks == 2) {
        BarWith(BarNarrowTank2, EngineStripItems[StripTank2], echFuelLevel2, e.fuelLevel[1]);
        TankMark(1, 735, 208);
    }
}

namespace {

struct TDialDraw {
    int dial;
    uint32_t channel;
    uint8_t error;
};

// The zone of a dial's value: 0 none, 1 yellow, 2 red.
int DialZone(int dial, int32_t v, uint8_t error, bool redAllowed) {
    const TInstrumentConfig& c = EngineDialConfig[dial];
    const bool oil = dial == DialOilPress || dial == DialOilTemp || dial == DialStripOilPress ||
                     dial == DialStripOilTemp;
    const bool zone = Above(v, c.yellowStart) || (oil && !error && Below(v, c.lowYellowEnd));
    if (!zone) return 0;
    const bool red = Above(v, c.redStart) || (oil && Below(v, c.lowRedEnd));
    return red && redAllowed ? 2 : 1;
}

// Colours the readout box by the zone; the value box turns black on yellow.
void ReadoutBox(int dial, int x, int y, int width, int height, uint8_t error, bool redAllowed) {
    const int zone = DialZone(dial, EngineDials[dial].value, error, redAllowed);
    TDisplayItem* it = DialItem(dial);
    it->textColour = White;
    if (zone == 0) return;
    MainWindow->set_mode(DrawModeCopy);
    MainWindow->fillbox(x, y, width, height, zone == 2 ? DisplayPalette.PalRed : DisplayPalette.PalYellow);
    if (zone == 1) it->textColour = Black;
}

uint8_t FourthError() {
    return EngineGaugeConfig.rotorRpmUsed ? EngineErrors.rpmAux : EngineErrors.map;
}
uint32_t FourthChannel() { return EngineGaugeConfig.rotorRpmUsed ? echRpmAux : echPressMap; }

void DrawPageDials() {
    if (EngineGLHooks.clear) EngineGLHooks.clear();
    const TEngineErrors& e = EngineErrors;
    const TDialDraw dials[6] = {
        {DialRpm, echRpmEng, e.rpm},       {DialOilPress, echPressOil, e.oilPress},
        {DialOilTemp, echTempOil, e.oilTemp}, {DialFourth, FourthChannel(), FourthError()},
        {DialAuxTemp, echTempAux1, e.auxTemp}, {DialWater, echTempWater, e.water},
    };
    for (const TDialDraw& d : dials) {
        const TInstrumentConfig& c = EngineDialConfig[d.dial];
        if (c.covered) continue;
        const int cx = c.cx, cy = c.cy;
        const bool redAllowed = d.dial != DialFourth || EngineGaugeConfig.rotorRpmUsed;
        switch (d.dial) {
            case DialRpm:
            case DialFourth: ReadoutBox(d.dial, cx - 44, cy - 205, 88, 24, d.error, redAllowed); break;
            case DialOilPress: ReadoutBox(d.dial, cx - 44, cy - 205, 52, 24, d.error, true); break;
            case DialOilTemp: ReadoutBox(d.dial, cx - 5, cy - 205, 52, 24, d.error, true); break;
            case DialAuxTemp: ReadoutBox(d.dial, cx - 44, 500 - cy, 52, 24, d.error, true); break;
            default: ReadoutBox(d.dial, cx - 5, 500 - cy, 52, 24, d.error, true); break;
        }
        if (EngineGLHooks.needle) EngineGLHooks.needle(d.dial, EngineDials[d.dial].value);
        DrawDialWithItem(&EngineDials[d.dial], DialItem(d.dial), d.channel, d.error);
        if (!d.error) continue;
        switch (d.dial) {
            case DialRpm:
            case DialFourth: DrawErrMark(cx - 24, cy - 280); break;
            case DialOilPress: DrawErrMark(cx - 32, cy - 280); break;
            case DialOilTemp: DrawErrMark(cx - 8, cy - 280); break;
            case DialAuxTemp: DrawErrMark(cx - 32, 425 - cy); break;
            default: DrawErrMark(cx - 8, 425 - cy); break;
        }
    }
    if (EngineGLHooks.flush) EngineGLHooks.flush();
}

void DrawStripDials() {
    const TEngineErrors& e = EngineErrors;
    struct TStripDial {
        TDialDraw d;
        int boxX, boxY, boxW, boxH, errX, errY;
        bool redAllowed;
    };
    const bool rotor = EngineGaugeConfig.rotorRpmUsed != 0;
    const TStripDial dials[6] = {
        {{DialStripRpm, echRpmEng, e.rpm}, 626, 111, 63, 18, 638, 60, true},
        {{DialStripOilPress, echPressOil, e.oilPress}, 600, 394, 40, 16, 600, 340, true},
        {{DialStripOilTemp, echTempOil, e.oilTemp}, 675, 394, 40, 16, 675, 340, true},
        {{DialStripFourth, FourthChannel(), FourthError()}, 626, 252, 63, 18, 638, 200, rotor},
        {{DialCombinedRpm, echRpmEng, e.rpm}, 598, 111, 63, 18, 610, 60, true},
        {{DialCombinedMap, echPressMap, e.map}, 740, 111, 43, 18, 743, 60, false},
    };
    for (const TStripDial& s : dials) {
        if (EngineDialConfig[s.d.dial].covered) continue;
        ReadoutBox(s.d.dial, s.boxX, s.boxY, s.boxW, s.boxH, s.d.error, s.redAllowed);
        DrawDialWithItem(&EngineDials[s.d.dial], DialItem(s.d.dial), s.d.channel, s.d.error);
        if (s.d.error) DrawErrMark(s.errX, s.errY);
    }
}

}  // namespace

void DrawEngineDials() {
    if (!MainWindow) return;
    if (ScreenType == ScreenEngine)
        DrawPageDials();
    else if (ScreenType == ScreenFlightEms)
        DrawStripDials();
}

void DrawCanopyGear() {
    if (!MainWindow) return;
    const TEngineGaugeConfig& g = EngineGaugeConfig;
    const bool error = RefreshValues.inputError != 0;
    int slot = 0;
    if (g.canopyInput != 0) {
        const TSlotPlace p = CanopySlot(slot);
        if (error) {
            SlotError(gettext_noop("CNPY "), p);
            ++slot;
        } else if (InputActive(g.canopyInput, 0x1)) {
            SlotPicture(PicCnpy, p);
            ++slot;
        }
    }
    if (AutopilotActive) SlotPicture(PicApOn, CanopySlot(slot++));
    if (g.gearUpInput == 0 && g.gearDownInput == 0) return;
    if (error) {
        SlotError(gettext_noop("GEAR "), CanopySlot(slot));
        return;
    }
    const bool up = InputActive(g.gearUpInput, 0x2), down = InputActive(g.gearDownInput, 0x4);
    if (up) SlotPicture(PicGearUp, CanopySlot(slot++));
    if (down) SlotPicture(PicGearDown, CanopySlot(slot++));
    if (!up && !down && g.gearUpInput != 0 && g.gearDownInput != 0) SlotPicture(PicGearTransit, CanopySlot(slot));
}

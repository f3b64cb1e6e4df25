// Writes the recorded flight Data/flysim.dat: a small point-mass flight model
// flying one left-hand circuit from a field near 50.08 N 14.26 E: start-up,
// taxi, take-off, climb, downwind with a full turn, base, final, landing, taxi
// back and shut-down, one record per 25 ms (the replay's tick). The engine
// starts warm from where the previous loop left it, so the replay loops cleanly.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../bench/flysim.h"
#include "hkmeasure.h"
#include "write_file.h"

namespace {

constexpr double Dt = 0.025;
constexpr double Pi = 3.14159265358979323846;
constexpr double G = 9.80665;
constexpr double Lat0 = 50.08, Lon0 = 14.26;  // the parking place
constexpr double FieldElevation = 380;        // metres
constexpr double RunwayHeading = 240;
constexpr double Variation = 4;  // east: magnetic = true - 4
constexpr double Ambient = 15;   // deg C at the field

double Rad(double deg) { return deg * Pi / 180; }
double Deg(double rad) { return rad * 180 / Pi; }
double Wrap360(double h) { return std::fmod(std::fmod(h, 360) + 360, 360); }
double Wrap180(double h) { return Wrap360(h + 180) - 180; }
double Clamp(double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; }
// First-order lag of `value` toward `target` with time constant tau seconds.
double Lag(double value, double target, double tau) { return value + (target - value) * (Dt / (tau + Dt)); }
double Approach(double value, double target, double maxStep) {
    return value + Clamp(target - value, -maxStep, maxStep);
}

struct Vec {
    double x, y;  // east, north in metres from the parking place
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Length(Vec a) { return std::hypot(a.x, a.y); }
Vec Unit(double heading) { return {std::sin(Rad(heading)), std::cos(Rad(heading))}; }
double Bearing(Vec from, Vec to) { return Wrap360(Deg(std::atan2(to.x - from.x, to.y - from.y))); }

// The circuit.
const Vec Parking = {0, 0};
const Vec TaxiOut = {0, 100};
const Vec Threshold = {250, 150};
const Vec TaxiBack = {0, -100};
const Vec DownwindStart = Threshold + 300.0 * Unit(240) + 1000.0 * Unit(150);
const Vec DownwindEnd = Threshold + 1800.0 * Unit(60) + 1000.0 * Unit(150);
const Vec FinalFix = Threshold + 2000.0 * Unit(60);
constexpr double PatternHeight = 300;  // above the field

enum Phase {
    Parked, Starting, WarmUp, TaxiToW1, TaxiToRunway, LineUp, RunUp, TakeOffRoll, Climb, Crosswind, Downwind,
    FullTurn, DownwindDescent, Base, Final, Flare, Rollout, TaxiToW2, TaxiToParking, Cooling, Shutdown, Done
};

struct Engine {
    double rpm = 0, map = 1, egt = Ambient, cht = Ambient, oil = Ambient, water = Ambient, oilPress = 0;
    double fuelFlow = 0, fuelPress = 0, volts = 12.4, amps = 0;
    double runSeconds = 0;
};

struct State {
    Phase phase = Parked;
    double phaseTime = 0;
    Vec pos = Parking;
    double alt = FieldElevation, heading = 0, ias = 0, vs = 0;  // m, deg true, km/h, m/s
    double bank = 0, pitch = 0.5, load = 1, turned = 0;
    double prevBank = 0, prevPitch = 0.5, prevHeading = 0;
    double fuel1 = 40, fuel2 = 40, used = 0;
    Engine eng;
};

struct Targets {
    double rpm = 0, ias = 0, vs = 0;
    bool ground = true;
};

double Agl(const State& s) { return s.alt - FieldElevation; }
double Tas(const State& s) { return s.ias * (1 + Agl(s) * 0.0000667 + FieldElevation * 0.0000667); }
double StaticPressure(double alt) { return 101325 * std::pow(1 - alt / 44330.0, 5.255); }

void Next(State& s, Phase p) {
    s.phase = p;
    s.phaseTime = 0;
}

// Steers toward a heading: bank in the air, a taxi turn on the ground.
void SteerTo(State& s, double heading, bool ground, double maxBank = 25) {
    double error = Wrap180(heading - s.heading);
    if (ground) {
        s.heading = Wrap360(s.heading + Clamp(error, -18 * Dt, 18 * Dt));
        s.bank = 0;
        return;
    }
    s.bank = Lag(s.bank, Clamp(error * 1.2, -maxBank, maxBank), 0.8);
}

// Vertical speed that reaches `alt` at the waypoint.
double GlideTo(const State& s, Vec wp, double alt) {
    double seconds = Length(wp - s.pos) / std::max(Tas(s) / 3.6, 10.0);
    return Clamp((alt - s.alt) / std::max(seconds, 5.0), -4, 4);
}

Targets Pilot(State& s) {
    Targets t;
    double agl = Agl(s);
    switch (s.phase) {
    case Parked:
        if (s.phaseTime > 5) Next(s, Starting);
        break;
    case Starting:
        t.rpm = s.phaseTime < 2 ? 300 : 1300;
        if (s.phaseTime > 4) Next(s, WarmUp);
        break;
    case WarmUp:
        t.rpm = 1900;
        if (s.phaseTime > 10) Next(s, TaxiToW1);
        break;
    case TaxiToW1:
    case TaxiToRunway: {
        Vec wp = s.phase == TaxiToW1 ? TaxiOut : Threshold;
        t.rpm = 2300, t.ias = 25;
        SteerTo(s, Bearing(s.pos, wp), true);
        if (Length(wp - s.pos) < 6) Next(s, s.phase == TaxiToW1 ? TaxiToRunway : LineUp);
        break;
    }
    case LineUp:
        t.rpm = 1800, t.ias = 6;
        SteerTo(s, RunwayHeading, true);
        if (std::fabs(Wrap180(RunwayHeading - s.heading)) < 0.5) Next(s, RunUp);
        break;
    case RunUp:
        t.rpm = s.phaseTime < 3 ? 4000 : 1600;
        if (s.phaseTime > 5) Next(s, TakeOffRoll);
        break;
    case TakeOffRoll:
        t.rpm = 5500, t.ias = 130;
        SteerTo(s, RunwayHeading, true);
        if (s.ias > 100) {
            t.ground = false;
            Next(s, Climb);
        }
        break;
    case Climb:
        t.ground = false, t.rpm = 5400, t.ias = 120, t.vs = 4.5;
        SteerTo(s, RunwayHeading, false);
        if (agl > 150) Next(s, Crosswind);
        break;
    case Crosswind:
        t.ground = false, t.rpm = 5300, t.ias = 125, t.vs = agl < PatternHeight ? 4.5 : 0;
        SteerTo(s, Bearing(s.pos, DownwindStart), false);
        if (Length(DownwindStart - s.pos) < 200) Next(s, Downwind);
        break;
    case Downwind:
        t.ground = false, t.rpm = 4800, t.ias = 170, t.vs = Clamp((FieldElevation + PatternHeight - s.alt) * 0.2, -3, 4.5);
        SteerTo(s, Bearing(s.pos, DownwindEnd), false);
        if (s.phaseTime > 8 && agl > PatternHeight - 20) {
            s.turned = 0;
            Next(s, FullTurn);
        }
        break;
    case FullTurn:
        t.ground = false, t.rpm = 5000, t.ias = 150, t.vs = Clamp((FieldElevation + PatternHeight - s.alt) * 0.2, -3, 3);
        s.bank = Lag(s.bank, -35, 1.0);
        if (s.turned <= -360) Next(s, DownwindDescent);
        break;
    case DownwindDescent:
        t.ground = false, t.rpm = 3800, t.ias = 150, t.vs = GlideTo(s, DownwindEnd, FieldElevation + 200);
        SteerTo(s, Bearing(s.pos, DownwindEnd), false);
        if (Length(DownwindEnd - s.pos) < 250) Next(s, Base);
        break;
    case Base:
        t.ground = false, t.rpm = 3200, t.ias = 125, t.vs = GlideTo(s, FinalFix, FieldElevation + 120);
        SteerTo(s, Bearing(s.pos, FinalFix), false);
        if (Length(FinalFix - s.pos) < 400) Next(s, Final);
        break;
    case Final: {
        Vec along = Unit(RunwayHeading), right = Unit(RunwayHeading + 90);
        double cross = Dot(s.pos - Threshold, right);
        double toGo = -Dot(s.pos - Threshold, along);
        double pathAlt = FieldElevation + 12 + std::max(toGo, 0.0) * std::tan(Rad(3));
        t.ground = false, t.rpm = 2700, t.ias = 110;
        t.vs = Clamp(-Tas(s) / 3.6 * std::tan(Rad(3)) + (pathAlt - s.alt) * 0.3, -4, 1);
        SteerTo(s, RunwayHeading - Clamp(cross * 0.15, -30, 30), false, 25);
        if (agl < 8) Next(s, Flare);
        break;
    }
    case Flare:
        t.ground = false, t.rpm = 1100, t.ias = 85, t.vs = -0.6;
        SteerTo(s, RunwayHeading, false, 5);
        if (s.alt <= FieldElevation) {
            s.alt = FieldElevation;
            Next(s, Rollout);
        }
        break;
    case Rollout:
        t.rpm = 1100, t.ias = 20;
        SteerTo(s, RunwayHeading, true);
        if (s.ias < 26) Next(s, TaxiToW2);
        break;
    case TaxiToW2:
    case TaxiToParking: {
        Vec wp = s.phase == TaxiToW2 ? TaxiBack : Parking;
        double dist = Length(wp - s.pos);
        t.rpm = 2200, t.ias = s.phase == TaxiToParking ? Clamp(dist * 0.8, 0, 20) : 25;
        SteerTo(s, Bearing(s.pos, wp), true);
        if (s.phase == TaxiToW2 && dist < 6) Next(s, TaxiToParking);
        if (s.phase == TaxiToParking && dist < 0.3) {
            s.pos = Parking;
            s.ias = 0;
            Next(s, Cooling);
        }
        break;
    }
    case Cooling:
        t.rpm = 1700;
        SteerTo(s, 0, true);
        if (s.phaseTime > 10) Next(s, Shutdown);
        break;
    case Shutdown:
        t.rpm = 0;
        if (s.phaseTime > 8) Next(s, Done);
        break;
    case Done:
        break;
    }
    return t;
}

void RunEngine(State& s, const Targets& t) {
    Engine& e = s.eng;
    bool cranking = s.phase == Starting && s.phaseTime < 2;
    bool running = t.rpm > 0 && !cranking;
    e.rpm = Lag(e.rpm, t.rpm, t.rpm == 0 ? 0.8 : 1.2);
    if (e.rpm < 5) e.rpm = 0;
    double th = Clamp((e.rpm - 900) / (5500 - 900), 0, 1);  // throttle, roughly
    double ambientPress = StaticPressure(s.alt) / 100000;     // bar
    double oat = Ambient - (s.alt - FieldElevation) * 0.0065;
    e.map = running ? ambientPress * (0.32 + 0.66 * th) : ambientPress;
    double flow = running ? 2.2 + 23 * std::pow(th, 1.3) : 0;
    e.fuelFlow = Lag(e.fuelFlow, flow, 1.5);
    e.egt = Lag(e.egt, running ? 360 + 400 * std::sqrt(th) + 0.02 * e.rpm : oat, running ? 12 : 60);
    e.cht = Lag(e.cht, running ? 85 + 45 * th - (s.ias - 100) * 0.05 : oat, running ? 60 : 240);
    e.oil = Lag(e.oil, running ? 70 + 32 * th : oat, running ? 70 : 400);
    e.water = Lag(e.water, running ? 72 + 18 * th : oat, running ? 55 : 350);
    double press = running ? Clamp(1.6 + 3.2 * std::min(1.0, e.rpm / 3600) - 0.012 * (e.oil - 50), 1.2, 5.6) : 0;
    e.oilPress = Lag(e.oilPress, press, 0.6);
    e.fuelPress = Lag(e.fuelPress, running || cranking ? 0.28 + 0.02 * th : 0, 0.5);
    bool charging = running && e.rpm > 1400;
    e.volts = Lag(e.volts, cranking ? 10.6 : charging ? 14.1 : 12.4, 0.4);
    e.amps = Lag(e.amps, cranking ? 48 : charging ? 6.5 + 2 * (1 - th) : running ? -3.5 : -1.2, 0.4);
    if (running) e.runSeconds += Dt;
    double burnt = e.fuelFlow * Dt / 3600;  // litres
    s.fuel1 -= burnt / 2;
    s.fuel2 -= burnt / 2;
    s.used += burnt;
}

void Move(State& s, const Targets& t) {
    double tas = Tas(s) / 3.6;  // m/s
    if (t.ground && s.phase != Flare) {
        // Full power accelerates the take-off roll; brakes and idle slow the rollout.
        double accel = s.phase == TakeOffRoll ? 2.4 : s.phase == Rollout ? 3.0 : 2.0;
        s.ias = Approach(s.ias, t.ias, accel * 3.6 * Dt);
        s.vs = 0;
        s.bank = 0;
        s.pitch = Lag(s.pitch, s.phase == TakeOffRoll && s.ias > 88 ? 8 : 0.5, 0.8);
        s.load = 1;
    } else {
        s.ias = Approach(s.ias, t.ias, 1.6 * Dt * 3.6);
        s.vs = Lag(s.vs, t.vs, 1.6);
        double v = std::max(tas, 15.0);
        double turnRate = Deg(G * std::tan(Rad(s.bank)) / v);
        s.heading = Wrap360(s.heading + turnRate * Dt);
        s.turned += turnRate * Dt;
        double alpha = 1.5 + 4.5 * std::pow(100.0 / std::max(s.ias, 60.0), 2) / std::cos(Rad(s.bank));
        s.pitch = Lag(s.pitch, alpha + Deg(std::atan2(s.vs, v)), 0.6);
        s.alt = std::max(s.alt + s.vs * Dt, FieldElevation);
        s.load = 1 / std::cos(Rad(s.bank)) + (s.vs - t.vs) * -0.02;
    }
    s.pos = s.pos + (tas * Dt) * Unit(s.heading);
}

// ---- the record ----

struct Writer {
    FlySimRecord rec;
    uint32_t n = 0;
    void Float(uint32_t ch, double v) { rec.entry[n++].SetFloat(ch, static_cast<float>(v)); }
    void Int(uint32_t ch, double v) { rec.entry[n++].SetInt(ch, static_cast<int32_t>(std::lround(v))); }
    void Text(uint32_t ch, const char* t) { rec.entry[n++].SetText(ch, t); }
};

// A little deterministic turbulence.
double Bump(double t, double a, double f1, double f2) { return a * (std::sin(t * f1) * 0.6 + std::sin(t * f2 + 1.3) * 0.4); }

FlySimRecord MakeRecord(const State& s, uint32_t sample, double t) {
    Writer w;
    std::memset(&w.rec, 0, sizeof w.rec);
    w.rec.head.magic.Set(FlySimMagic);
    w.rec.head.sample.Set(sample);
    const Engine& e = s.eng;
    bool air = Agl(s) > 0.05;
    double rough = air ? 1 : 0.2;
    static const double EgtSpread[6] = {0, 12, -8, 18, -5, 6};
    static const double ChtSpread[6] = {0, -4, 3, 5, -6, 2};
    for (int i = 0; i < 6; ++i) w.Float(echThermo0 + i, e.egt + EgtSpread[i] * e.egt / 700);
    for (int i = 0; i < 6; ++i) w.Float(echThermo6 + i, e.cht + ChtSpread[i] * e.cht / 110);
    // Integer entries of the adjusted channels hold what the replay turns into the wanted value.
    w.Int(echPressOil, e.oilPress * 1000);  // stored / 10 in hundredths of a bar
    w.Int(echPressMap, e.map * 2000);       // stored x 5 in units of 0.0001 bar
    w.Float(echPressFuel, e.fuelPress);
    w.Float(echAltitudeQNH, s.alt + Bump(t, 0.6, 1.1, 2.3) * rough);
    w.Float(echAltitudeFL, s.alt - 56);
    w.Float(echFuelFlow, e.fuelFlow);
    w.Float(echFuelLevel1, s.fuel1);
    w.Float(echFuelLevel2, s.fuel2);
    w.Float(echFuelUsed, s.used);
    w.Float(echFuelRemain, s.fuel1 + s.fuel2);
    double lat = Lat0 + s.pos.y / 111320.0;
    double lon = Lon0 + s.pos.x / (111320.0 * std::cos(Rad(Lat0)));
    w.Int(echGPSLat, lat * 100000);
    w.Int(echGPSLon, lon * 100000);
    double gs = Tas(s);
    w.Float(echGPSGrSpeed, gs);
    w.Float(echGPSAlt, s.alt + 3);
    w.Text(echGPSId, "HOME");
    w.Float(echGPSBtw, Bearing(s.pos, Parking));
    w.Float(echGPSDtw, Length(Parking - s.pos) / 1000);
    w.Float(echGPSTrk, s.heading);
    w.Float(echGPSCdi, 0);
    w.Float(echGPSCrs, Wrap360(s.heading - Variation));
    w.Int(echGPSSatnum, 9);
    double oat = Ambient - Agl(s) * 0.0065;
    w.Float(echTempIAT, oat + 6 + e.rpm / 1000);
    w.Float(echTempOAT, oat);
    w.Int(echTempOil, e.oil * 10);  // also gives the auxiliary and water channels; water follows
    w.Float(echTempWater, e.water);
    double pitchRate = (s.pitch - s.prevPitch) / Dt, rollRate = (s.bank - s.prevBank) / Dt;
    double yawRate = Wrap180(s.heading - s.prevHeading) / Dt;
    double pitch = s.pitch + Bump(t, 0.4, 1.7, 3.1) * rough, roll = s.bank + Bump(t, 0.8, 1.3, 2.9) * rough;
    w.Float(echInercialAccX, std::sin(Rad(pitch)));
    w.Float(echInercialAccY, Bump(t, 0.03, 2.1, 3.7) * rough);
    w.Float(echInercialAccZ, s.load + Bump(t, 0.05, 2.7, 4.1) * rough);
    w.Float(echInercialPitch, pitch);
    w.Float(echInercialRoll, roll);
    w.Int(echInercialSlip, Clamp(-rollRate * 1.5 + Bump(t, 3, 0.9, 2.2) * rough, -60, 60));
    w.Float(echInercialSideSlip, Bump(t, 0.8, 0.7, 1.9) * rough);
    w.Float(echInercialAzimut, Wrap360(s.heading - Variation));
    w.Float(echInercialGyroX, rollRate);
    w.Float(echInercialGyroY, pitchRate);
    w.Float(echInercialGyroZ, yawRate);
    w.Int(echInercialAccPilot, (s.load + Bump(t, 0.05, 2.7, 4.1) * rough) * 10 - 10);  // stored + 10, tenths of g
    w.Int(echInercialAoA, air ? s.pitch - Deg(std::atan2(s.vs, std::max(gs / 3.6, 15.0))) : 0);
    w.Int(echVolt1, e.volts * 100);  // the voltages and currents are stored / 10, in tenths
    w.Int(echVolt2, (e.volts - 0.15) * 100);
    w.Int(echVolt3, 12.6 * 100);
    w.Int(echCurr1, e.amps * 100);
    w.Int(echCurr2, (e.amps > 0 ? 2.1 : 0.4) * 100);
    w.Int(echCurr3, 0.3 * 100);
    w.Int(echRpmEng, e.rpm);
    w.Int(echEngineTime, 1234 * 3600 + e.runSeconds);
    w.Float(echSpeedTas, gs);
    w.Float(echSpeedIas, s.ias);
    w.Float(echSpeedVertical, s.vs);
    w.Float(echExtDevMagCompassAzimuth, Wrap360(s.heading - Variation + 1.5));
    w.Int(echPressBaroAbs, StaticPressure(s.alt));
    w.Float(echInternalTempKTYMain, 31 + e.runSeconds * 0.01);
    w.Int(echRpmAux, e.rpm / 2.43);  // propeller behind the gearbox
    w.Float(echInternalMainPwrs, e.volts - 0.1);
    w.Int(echPressBaroDiff1, 0.5 * 1.2 * std::pow(s.ias / 3.6, 2));  // dynamic pressure, Pa
    if (w.n != FlySimMaxEntries) {
        fprintf(stderr, "gen_flysim: %u entries a record\n", w.n);
        std::exit(1);
    }
    w.rec.head.count.Set(w.n);
    w.rec.trailer.Set(FlySimTrailer);
    return w.rec;
}

// Flies the circuit once from an engine left as `start` left it.
std::vector<FlySimRecord> Fly(const Engine& start, Engine* end) {
    State s;
    s.eng = start;
    s.eng.rpm = 0;
    std::vector<FlySimRecord> out;
    double t = 0;
    while (s.phase != Done) {
        s.prevBank = s.bank, s.prevPitch = s.pitch, s.prevHeading = s.heading;
        Targets target = Pilot(s);
        RunEngine(s, target);
        Move(s, target);
        out.push_back(MakeRecord(s, static_cast<uint32_t>(out.size()), t));
        t += Dt;
        s.phaseTime += Dt;
        if (out.size() > 40 * 60 * 20) {
            fprintf(stderr, "gen_flysim: the circuit never ends (phase %d)\n", s.phase);
            std::exit(1);
        }
    }
    *end = s.eng;
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: gen_flysim <Data directory>\n");
        return 2;
    }
    // A few rounds bring the engine's end state back to its start state.
    Engine start, end;
    std::vector<FlySimRecord> records;
    for (int round = 0; round < 4; ++round) {
        records = Fly(start, &end);
        start = end;
        start.runSeconds = 0;
    }
    std::string path = std::string(argv[1]) + "/flysim.dat";
    if (!gen::WriteFile(path, records.data(), records.size() * sizeof(FlySimRecord))) return 1;
    printf("gen_flysim: %zu records (%.0f s) in %s\n", records.size(), records.size() * Dt, path.c_str());
    return 0;
}

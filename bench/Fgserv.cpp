#include "Fgserv.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "Threadmeassure.h"
#include "fgprops.h"
#include "hkmeasure.h"
#include "sourcefeed.h"
#include "unique_fd.h"

TFdmTotals FdmTotals = {0, -1, FuelNotKnown};
TFdmPacket LastFdmPacket = {};

int FdmConvert(const uint8_t* wire, size_t length, TFdmPacket& out) {
    if (!wire || length < FdmPacketSize) return -1;
    FdmNetPacket w;
    memcpy(&w, wire, sizeof w);
    TFdmPacket p = {};
    p.version = w.version.Get();
    p.longitude = w.longitude.Get();
    p.latitude = w.latitude.Get();
    p.altitude = w.altitude.Get();
    const BEFloat* from = &w.agl;
    float* to[] = {&p.agl, &p.phi, &p.theta, &p.psi, &p.alpha, &p.beta, &p.phidot, &p.thetadot,
                   &p.psidot, &p.vcas, &p.climb_rate, &p.v_north, &p.v_east, &p.v_down,
                   &p.v_wind_body_north, &p.v_wind_body_east, &p.v_wind_body_down, &p.A_X_pilot,
                   &p.A_Y_pilot, &p.A_Z_pilot, &p.stall_warning, &p.slip_deg};
    static_assert(sizeof to / sizeof to[0] == 22, "22 floats");
    for (size_t i = 0; i < 22; ++i) *to[i] = from[i].Get();

    p.num_engines = w.num_engines.Get();
    for (uint32_t e = 0; e < FdmTaken(p.num_engines, FdmMaxEngines); ++e) {
        p.eng_state[e] = w.eng_state[e].Get();
        p.rpm[e] = w.rpm[e].Get();
        p.fuel_flow[e] = w.fuel_flow[e].Get();
        p.fuel_px[e] = w.fuel_px[e].Get();
        p.egt[e] = w.egt[e].Get();
        p.cht[e] = w.cht[e].Get();
        p.mp_osi[e] = w.mp_osi[e].Get();
        p.tit[e] = w.tit[e].Get();
        p.oil_temp[e] = w.oil_temp[e].Get();
        p.oil_px[e] = w.oil_px[e].Get();
    }
    p.num_tanks = w.num_tanks.Get();
    for (uint32_t t = 0; t < FdmTaken(p.num_tanks, FdmMaxTanks); ++t) p.fuel_quantity[t] = w.fuel_quantity[t].Get();
    p.num_wheels = w.num_wheels.Get();
    for (uint32_t g = 0; g < FdmTaken(p.num_wheels, FdmMaxWheels); ++g) {
        p.wow[g] = w.wow[g].Get();
        p.gear_pos[g] = w.gear_pos[g].Get();
        p.gear_steer[g] = w.gear_steer[g].Get();
        p.gear_compression[g] = w.gear_compression[g].Get();
    }
    p.cur_time = w.cur_time.Get();
    p.warp = static_cast<int32_t>(w.warp.Get());
    const BEFloat* tail = &w.visibility;
    float* tailTo[] = {&p.visibility, &p.elevator, &p.elevator_trim_tab, &p.left_flap, &p.right_flap,
                       &p.left_aileron, &p.right_aileron, &p.rudder, &p.nose_wheel, &p.speedbrake, &p.spoilers};
    static_assert(sizeof tailTo / sizeof tailTo[0] == 11, "11 floats");
    for (size_t i = 0; i < 11; ++i) *tailTo[i] = tail[i].Get();
    out = p;
    return 0;
}

void PrintFdmPacket(const TFdmPacket& p) {
    auto f = [](const char* name, double v) { BenchDumpf("%s = %f\n", name, v); };
    BenchDumpf("version = %d\n", static_cast<int>(p.version));
    BenchDumpf("-- Positions --\n");
    f("longitude", p.longitude);
    f("latitude", p.latitude);
    f("altitude", p.altitude);
    f("agl", p.agl);
    f("phi", p.phi);
    f("theta", p.theta);
    f("psi", p.psi);
    f("alpha", p.alpha);
    f("beta", p.beta);
    BenchDumpf("-- Velocities --\n");
    f("phidot", p.phidot);
    f("thetadot", p.thetadot);
    f("psidot", p.psidot);
    f("vcas", p.vcas);
    f("climb_rate", p.climb_rate);
    f("v_north", p.v_north);
    f("v_east", p.v_east);
    f("v_down", p.v_down);
    f("v_wind_body_north", p.v_wind_body_north);
    f("v_wind_body_east", p.v_wind_body_east);
    f("v_wind_body_down", p.v_wind_body_down);
    BenchDumpf("-- Accelerations --\n");
    f("A_X_pilot", p.A_X_pilot);
    f("A_Y_pilot", p.A_Y_pilot);
    f("A_Z_pilot", p.A_Z_pilot);
    BenchDumpf("-- Stall --\n");
    f("stall_warning", p.stall_warning);
    f("slip_deg", p.slip_deg);
    BenchDumpf("-- Engines --\n");
    BenchDumpf("num_engines = %u\n", p.num_engines);
    for (uint32_t e = 0; e < FdmTaken(p.num_engines, FdmMaxEngines); ++e) {
        BenchDumpf("eng_state[%u] = %u\n", e, p.eng_state[e]);
        BenchDumpf("rpm[%u] = %f, fuel_flow[%u] = %f, fuel_px[%u] = %f\n", e, p.rpm[e], e, p.fuel_flow[e], e,
                    p.fuel_px[e]);
        BenchDumpf("egt[%u] = %f, cht[%u] = %f, mp_osi[%u] = %f, tit[%u] = %f\n", e, p.egt[e], e, p.cht[e], e,
                    p.mp_osi[e], e, p.tit[e]);
        BenchDumpf("oil_temp[%u] = %f, oil_px[%u] = %f\n", e, p.oil_temp[e], e, p.oil_px[e]);
    }
    BenchDumpf("-- Consumables --\n");
    BenchDumpf("num_tanks = %u\n", p.num_tanks);
    for (uint32_t t = 0; t < FdmTaken(p.num_tanks, FdmMaxTanks); ++t)
        BenchDumpf("fuel_quantity[%u] = %f\n", t, p.fuel_quantity[t]);
    BenchDumpf("-- Gear status --\n");
    BenchDumpf("num_wheels = %u\n", p.num_wheels);
    for (uint32_t g = 0; g < FdmTaken(p.num_wheels, FdmMaxWheels); ++g)
        BenchDumpf("wow[%u] = %u, gear_pos[%u] = %f, gear_steer[%u] = %f, gear_compression[%u] = %f\n", g,
                    p.wow[g], g, p.gear_pos[g], g, p.gear_steer[g], g, p.gear_compression[g]);
    BenchDumpf("-- Environment --\n");
    BenchDumpf("cur_time = %u\n", p.cur_time);
    BenchDumpf("warp = %d\n", p.warp);
    f("visibility", p.visibility);
    BenchDumpf("-- Control surface positions --\n");
    f("elevator", p.elevator);
    f("elevator_trim_tab", p.elevator_trim_tab);
    f("left_flap", p.left_flap);
    f("right_flap", p.right_flap);
    f("left_aileron", p.left_aileron);
    f("right_aileron", p.right_aileron);
    f("rudder", p.rudder);
    f("nose_wheel", p.nose_wheel);
    f("speedbrake", p.speedbrake);
    f("spoilers", p.spoilers);
}

namespace {

constexpr double Rad = 57.29579;
constexpr double FtPerSec2PerG = 32.174;
// FlightGear 2020.3 sends inches of mercury in mp_osi, whatever the field's name says.
constexpr double BarPerInHg = 0.0338639;
double F2C(double f) { return (f - 32) * 5 / 9; }
TSourceFeed FdmFeed;  // the channels the packets fed
// 0 the value stored; 1 the packet's number was unusable and the channel reads as no value.
int Set(uint32_t chan, double value) {
    const int rc = SetChanValueOrNone(chan, value);
    if (rc >= 0) FdmFeed.Fed(chan);
    return rc;
}
void SetNone(uint32_t chan) {
    if (SetChanNoValue(chan) == 0) FdmFeed.Fed(chan);
}

}  // namespace

void StoreFdmPacket(const TFdmPacket& p, uint32_t n, int64_t nowSec) {
    TMeasBatch batch;  // one packet is one batch of stores
    FdmFeed.Heard();
    Set(echGPSLon, p.longitude * Rad);
    Set(echGPSLat, p.latitude * Rad);
    Set(echAltitudeFL, p.altitude);
    Set(echAltitudeQNH, p.altitude + 5);
    Set(echInercialRoll, p.phi * Rad);
    Set(echInercialPitch, p.theta * Rad);
    Set(echInercialAzimut, p.psi * Rad);
    Set(echInercialAoA, p.alpha * 15.0);
    Set(echInercialSideSlip, p.psidot * Rad);
    Set(echInercialSlip, p.slip_deg * -100.0);
    // The load factor in g: body z points down, so level flight gives about -32.2 ft/s^2.
    Set(echInercialAccPilot, -p.A_Z_pilot / FtPerSec2PerG);
    Set(echInercialGyroX, p.phidot * Rad);
    Set(echInercialGyroZ, p.thetadot * Rad);
    Set(echInercialGyroY, p.psidot * Rad);
    Set(echSpeedIas, p.vcas * 1.852);
    Set(echSpeedTas, p.vcas * 1.852 + 5);
    Set(echSpeedVertical, p.climb_rate * 0.3048);

    // A packet without engines carries no engine values: the channels keep theirs.
    if (p.num_engines > 0) {
        static const double EgtOffset[6] = {5, 2, 3, -1, 7, 0};
        static const double ChtOffset[6] = {2, -4, 3, 1, -7, -9};
        for (uint32_t i = 0; i < 6; ++i) {
            Set(echThermo0 + i, F2C(p.egt[0]) + EgtOffset[i]);
            Set(echThermo6 + i, F2C(p.cht[0]) + ChtOffset[i]);
        }
    }
    Set(echTempIAT, 20);
    Set(echTempOAT, 17);
    if (p.num_engines > 0) {
        Set(echTempOil, F2C(p.oil_temp[0]));
        Set(echPressOil, p.oil_px[0] * 0.06895);
        Set(echPressMap, p.mp_osi[0] * BarPerInHg);
        Set(echRpmEng, p.rpm[0]);
        Set(echFuelFlow, p.fuel_flow[0] * 3.785);
    }
    Set(echPressFuel, std::sin(n / 300.0) * 0.05 + 0.25);

    // The remaining fuel sums the tanks: while one is unknown, so are the remaining and the used.
    double remain = 0;
    bool known = true;
    for (uint32_t t = 0; t < 2 && t < p.num_tanks; ++t) {
        double level = p.fuel_quantity[t] * 3.785;
        if (Set(echFuelLevel1 + t, level) == 0) remain += level;
        else known = false;
    }
    if (known) {
        Set(echFuelRemain, remain);
        double used = 0;
        if (FdmTotals.FuelAtStart == FuelNotKnown) FdmTotals.FuelAtStart = remain;
        else used = std::max(0.0, FdmTotals.FuelAtStart - remain);
        Set(echFuelUsed, used);
    } else {
        SetNone(echFuelRemain);
        SetNone(echFuelUsed);
    }

    if (nowSec != FdmTotals.LastSecond) {
        FdmTotals.LastSecond = nowSec;
        ++FdmTotals.EngineTime;
    }
    Set(echEngineTime, FdmTotals.EngineTime);

    double s = std::sin(n / 100.0);
    Set(echVolt1, s * 0.5 + 13);
    Set(echVolt2, s * 0.5 + 12.8);
    Set(echVolt3, s * 0.5 + 12.7);
    Set(echCurr1, s + 10.5);
    Set(echCurr2, s + 4);
    Set(echCurr3, s + 3.2);
    // The bench's own status word, no value of the simulator: it stays when the packets stop.
    SetChanValue(echInternalInputStatus, 2);
}

// ---- the server ----

namespace {

// One connected simulator; a packet is collected here until it is whole.
struct TFdmClient {
    UniqueFd fd;
    uint8_t packet[FdmPacketSize];
    uint32_t have = 0;
};

void NoticeListener(uint16_t port, const char* why) {
    char text[160];
    snprintf(text, sizeof text, "The FlightGear link cannot listen on port %d: %s.\r\nNo simulator data is shown.", port, why);
    BenchNotice(NoticeFdmPort, text);
}

// The listening socket, reusable at once after the previous thread's; -1 with the reason printed.
UniqueFd OpenListener(uint16_t port) {
    UniqueFd fd(socket(AF_INET, SOCK_STREAM, 0));
    if (fd.get() < 0) {
        BenchPrintf("fgserv: %s\n", strerror(errno));
        NoticeListener(port, strerror(errno));
        return fd;
    }
    int one = 1;
    setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);  // the simulator may run on another machine
    if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 || listen(fd.get(), 5) != 0) {
        BenchPrintf("fgserv: port %d: %s\n", port, strerror(errno));
        NoticeListener(port, strerror(errno));
        fd.reset();
    }
    return fd;
}

// Reads what the client has; a whole packet is converted and stored.
// False when the client has gone or must be dropped.
bool ServeClient(TFdmClient& c, uint32_t& packets) {
    ssize_t n = recv(c.fd.get(), c.packet + c.have, FdmPacketSize - c.have, MSG_DONTWAIT);
    if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (n == 0) return false;
    const uint32_t before = c.have;
    c.have += static_cast<uint32_t>(n);
    // Another layout has another length: read as ours, every later packet would be out of
    // step. Told once, as soon as the version word is in; the client is dropped.
    if (before < 4 && c.have >= 4) {
        const uint32_t version = FdmPacketVersion(c.packet);
        if (version != FdmVersion) {
            char text[96];
            snprintf(text, sizeof text, MsgFdmVersion, static_cast<int>(version), static_cast<int>(FdmVersion));
            BenchPrintf("%s\n", text);
            BenchNotice(NoticeFdmVersion, (std::string(text) + ": the simulator's packets are refused.").c_str());
            DebugOutput("MeassureThread: Client dropped.\n");
            return false;
        }
    }
    if (c.have < FdmPacketSize) return true;
    BenchDumpf("[%d] Receive %d bytes, readed = %d bytes.\n", c.fd.get(), static_cast<int>(FdmPacketSize),
                static_cast<int>(c.have));
    c.have = 0;
    FdmConvert(c.packet, FdmPacketSize, LastFdmPacket);
    PrintFdmPacket(LastFdmPacket);
    StoreFdmPacket(LastFdmPacket, packets, static_cast<int64_t>(time(nullptr)));
    ++packets;
    return true;
}

void Accept(UniqueFd& listener, std::vector<std::unique_ptr<TFdmClient>>& clients) {
    int fd = accept(listener.get(), nullptr, nullptr);
    if (fd < 0) return;
    UniqueFd accepted(fd);
    if (clients.size() + 1 >= static_cast<size_t>(FdmMaxSockets)) {
        // It would never be read: closed at once rather than left open.
        BenchPrintf("Client refused on fd %d: %d sockets in use\n", fd, FdmMaxSockets);
        return;
    }
    auto client = std::make_unique<TFdmClient>();
    client->fd = std::move(accepted);
    BenchPrintf("Client connect on fd %d\n", fd);
    DebugOutput("MeassureThread: Client connect.\n");
    auto at = std::lower_bound(clients.begin(), clients.end(), fd,
                               [](const std::unique_ptr<TFdmClient>& c, int v) { return c->fd.get() < v; });
    clients.insert(at, std::move(client));
}

void Serve(UniqueFd& listener, const std::atomic<bool>* terminate) {
    std::vector<std::unique_ptr<TFdmClient>> clients;  // ascending by descriptor
    uint32_t packets = 0;
    FdmFeed = TSourceFeed();
    while (!*terminate) {
        // Closed or silent alike: a simulator that sends nothing more shows nothing more.
        if (int n = FdmFeed.Quiet())
            BenchPrintf("FlightGear FDM packets stopped: %d values read as none until the next packet.\n", n);
        std::vector<pollfd> watch;
        watch.push_back({listener.get(), POLLIN, 0});
        for (auto& c : clients) watch.push_back({c->fd.get(), POLLIN, 0});
        int ready = poll(watch.data(), watch.size(), 50);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) {
            BenchPrintf("fgserv: %s\n", strerror(errno));
            BenchNotice(NoticeFdmServer, (std::string("The FlightGear link stopped: ") + strerror(errno) + ".").c_str());
            DebugOutput("MeassureThread: ERROR.\n");
            break;
        }
        if (ready == 0) continue;
        // The listener was opened first, so it is the lowest descriptor: ascending order.
        for (size_t i = 0; i < watch.size() && !*terminate; ++i) {
            if (!(watch[i].revents & (POLLIN | POLLERR | POLLHUP))) continue;
            if (i == 0) {
                Accept(listener, clients);
                continue;
            }
            auto it = std::find_if(clients.begin(), clients.end(),
                                   [&](const std::unique_ptr<TFdmClient>& c) { return c->fd.get() == watch[i].fd; });
            if (it == clients.end() || ServeClient(**it, packets)) continue;
            BenchPrintf("Client disconnect on fd %d\n", watch[i].fd);
            DebugOutput("MeassureThread: Client disconnect.\n");
            clients.erase(it);
        }
    }
}

}  // namespace

void FdmServer(const TMeassurePorts& ports, const std::atomic<bool>* terminate) {
    UniqueFd listener = OpenListener(ports.fdm);
    if (listener.get() < 0) {
        DebugOutput("MeassureThread: ERROR.\n");
        WaitForTerminate(terminate);
        return;
    }
    BenchPrintf("FlightGear FDM-native server waiting ... on port %d ...\n", ports.fdm);
    DebugOutput("MeassureThread: Server listening.\n");
    {
        TFGProps props(PropServerHost, ports.props, FgPropGet, FgPropSet);
        if (props.Connect() != 0) {
            // The simulator is often started after the link; the client keeps trying.
            char text[160];
            snprintf(text, sizeof text,
                     "The simulator's property server (port %d) cannot be reached yet: radio and navigation values "
                     "stay empty until it answers.",
                     ports.props);
            BenchPrintf("%s\n", text);
            BenchNotice(NoticeProps, text);
        }
        props.StartThread();
        DebugOutput("MeassureThread: Prop Init.\n");
        Serve(listener, terminate);
        props.Running = false;
    }
    DebugOutput("MeassureThread: Prop Deinit.\n");
}

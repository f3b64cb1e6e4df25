// The flight-dynamics packet and server: conversion, the channel table, and
// the server fed over loopback TCP by test senders.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "bench_support.h"
#include "fg_recorded.h"

namespace {

// A wire packet written field by field at the layout's offsets, big-endian.
struct Wire {
    uint8_t b[FdmPacketSize] = {};
    void U32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
    }
    void F(size_t at, float f) {
        uint32_t v;
        memcpy(&v, &f, 4);
        U32(at, v);
    }
    void D(size_t at, double d) {
        uint64_t v;
        memcpy(&v, &d, 8);
        U32(at, static_cast<uint32_t>(v >> 32));
        U32(at + 4, static_cast<uint32_t>(v));
    }
    // Float i of the 22 after the doubles (agl = 0 ... slip_deg = 21).
    void Motion(int i, float f) { F(32 + 4 * i, f); }
    void Engine(int field, int engine, float f) { F(140 + 16 * field + 4 * engine, f); }
};
enum { Phi = 1, Theta, Psi, Alpha, Beta, PhiDot, ThetaDot, PsiDot, Vcas, ClimbRate, AXPilot = 17, SlipDeg = 21 };
enum { Rpm = 0, FuelFlow, FuelPx, Egt, Cht, MpOsi, Tit, OilTemp, OilPx };

// Chosen values whose stored words are worked out by hand in the tests.
Wire Chosen() {
    Wire w;
    w.U32(0, 24);
    w.D(8, 14.3 / 57.29579);
    w.D(16, 50.0 / 57.29579);
    w.D(24, 500.0);
    w.Motion(Phi, 0.1f);
    w.Motion(Theta, -0.05f);
    w.Motion(Psi, 1.0f);
    w.Motion(Alpha, 0.1f);
    w.Motion(PhiDot, 0.01f);
    w.Motion(ThetaDot, -0.01f);
    w.Motion(PsiDot, 0.02f);
    w.Motion(Vcas, 100);
    w.Motion(ClimbRate, 10);
    w.Motion(AXPilot, 32.174f);
    w.Motion(SlipDeg, 0.25f);
    w.U32(120, 1);
    w.Engine(Rpm, 0, 2400);
    w.Engine(FuelFlow, 0, 5);
    w.Engine(Egt, 0, 1400);
    w.Engine(Cht, 0, 392);
    w.Engine(MpOsi, 0, 14.5f);
    w.Engine(OilTemp, 0, 212);
    w.Engine(OilPx, 0, 60);
    w.U32(284, 2);
    w.F(288, 10);
    w.F(292, 5);
    w.U32(304, 3);
    w.U32(356, 123456);
    w.U32(360, static_cast<uint32_t>(-2));
    w.F(364, 16000);
    w.F(404, 0.5f);
    return w;
}

TEST(FdmPacket, ConvertsEveryRegion) {
    Wire w = Chosen();
    w.Engine(Rpm, 1, 2500);  // beyond num_engines 1: not taken
    w.F(300, 9);             // tank 3 of 2
    TFdmPacket p;
    ASSERT_EQ(FdmConvert(w.b, sizeof w.b, p), 0);
    EXPECT_EQ(p.version, 24u);
    EXPECT_DOUBLE_EQ(p.longitude, 14.3 / 57.29579);
    EXPECT_DOUBLE_EQ(p.altitude, 500.0);
    EXPECT_FLOAT_EQ(p.phi, 0.1f);
    EXPECT_FLOAT_EQ(p.slip_deg, 0.25f);
    EXPECT_FLOAT_EQ(p.A_X_pilot, 32.174f);
    EXPECT_EQ(p.num_engines, 1u);
    EXPECT_FLOAT_EQ(p.rpm[0], 2400);
    EXPECT_FLOAT_EQ(p.oil_px[0], 60);
    EXPECT_EQ(p.rpm[1], 0);
    EXPECT_EQ(p.num_tanks, 2u);
    EXPECT_FLOAT_EQ(p.fuel_quantity[1], 5);
    EXPECT_EQ(p.fuel_quantity[3], 0);
    EXPECT_EQ(p.cur_time, 123456u);
    EXPECT_EQ(p.warp, -2);
    EXPECT_FLOAT_EQ(p.visibility, 16000);
    EXPECT_FLOAT_EQ(p.spoilers, 0.5f);

    EXPECT_EQ(FdmConvert(w.b, FdmPacketSize - 1, p), -1);
    EXPECT_EQ(FdmConvert(nullptr, FdmPacketSize, p), -1);
}

TEST(FdmPacket, CountsBeyondTheLayoutAreCut) {
    Wire w;
    w.U32(120, 0xFFFFFFFF);
    w.U32(284, 5);
    w.U32(304, 1000);
    w.Engine(Rpm, 3, 1234);
    w.Engine(OilPx, 3, 45);
    w.F(300, 7);
    w.F(352, 0.25f);  // the last wheel's compression
    TFdmPacket p;
    ASSERT_EQ(FdmConvert(w.b, sizeof w.b, p), 0);
    EXPECT_EQ(p.num_engines, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(p.rpm[3], 1234);
    EXPECT_FLOAT_EQ(p.oil_px[3], 45);
    EXPECT_FLOAT_EQ(p.fuel_quantity[3], 7);
    EXPECT_FLOAT_EQ(p.gear_compression[2], 0.25f);
    EXPECT_EQ(FdmTaken(p.num_wheels, FdmMaxWheels), 3u);
}

class FdmStore : public BenchBlockTest {
protected:
    void SetUp() override {
        BenchBlockTest::SetUp();
        FdmTotals = {0, -1, FuelNotKnown};
        Attach();
    }
    TFdmPacket Packet(const Wire& w) {
        TFdmPacket p;
        EXPECT_EQ(FdmConvert(w.b, sizeof w.b, p), 0);
        return p;
    }
};

TEST_F(FdmStore, EveryChannelOfTheTable) {
    StoreFdmPacket(Packet(Chosen()), 0, 100);
    struct {
        uint32_t ch;
        int32_t raw;
    } want[] = {
        {echGPSLon, 1430000}, {echGPSLat, 5000000}, {echAltitudeFL, 5000}, {echAltitudeQNH, 5050},
        {echInercialRoll, 572}, {echInercialPitch, -286}, {echInercialAzimut, 5729}, {echInercialAoA, 1},
        {echInercialSideSlip, 114}, {echInercialSlip, -25}, {echInercialGyroX, 57},
        {echInercialGyroZ, -57}, {echInercialGyroY, 114}, {echSpeedIas, 1852}, {echSpeedTas, 1902},
        {echSpeedVertical, 30}, {echThermo0, 7650}, {echThermo1, 7620}, {echThermo2, 7630}, {echThermo3, 7590},
        {echThermo4, 7670}, {echThermo5, 7600}, {echThermo6, 2020}, {echThermo7, 1960}, {echThermo8, 2030},
        {echThermo9, 2010}, {echThermo10, 1930}, {echThermo11, 1910}, {echTempIAT, 200}, {echTempOAT, 170},
        {echTempOil, 1000}, {echPressOil, 413}, {echRpmEng, 2400}, {echFuelFlow, 189},
        {echPressFuel, 25}, {echFuelLevel1, 378}, {echFuelLevel2, 189}, {echFuelRemain, 567}, {echFuelUsed, 0},
        {echEngineTime, 1}, {echVolt1, 130}, {echVolt2, 128}, {echVolt3, 127}, {echCurr1, 105}, {echCurr2, 40},
        {echCurr3, 32}, {echInternalInputStatus, 2},
    };
    for (auto& w : want) EXPECT_EQ(Raw(w.ch), w.raw) << ChanName(w.ch);

    // Fuel burnt since the first packet; engine time counts distinct seconds.
    Wire next = Chosen();
    next.F(288, 9);
    StoreFdmPacket(Packet(next), 1, 100);
    EXPECT_EQ(Raw(echFuelRemain), 529);
    EXPECT_EQ(Raw(echFuelUsed), 37);
    EXPECT_EQ(Raw(echEngineTime), 1);
    next.F(288, 11);  // refuelled: never below 0
    StoreFdmPacket(Packet(next), 2, 101);
    EXPECT_EQ(Raw(echFuelUsed), 0);
    EXPECT_EQ(Raw(echEngineTime), 2);
    // The counter drives the simulated electrics: sin(300 / 100) = 0.1411.
    StoreFdmPacket(Packet(next), 300, 101);
    EXPECT_EQ(Raw(echVolt1), 130);  // 13.0706
    EXPECT_EQ(Raw(echCurr1), 106);  // 10.6411
    EXPECT_EQ(Raw(echPressFuel), 29);  // sin(1) x 0.05 + 0.25 = 0.292
}

TEST_F(FdmStore, NoTanksAndNoEngines) {
    Wire w = Chosen();
    w.U32(284, 0);
    w.U32(120, 0);
    StoreFdmPacket(Packet(w), 0, 5);
    EXPECT_EQ(TypeOf(echFuelLevel1), 0u);
    EXPECT_EQ(TypeOf(echFuelLevel2), 0u);
    EXPECT_EQ(Raw(echFuelRemain), 0);
    EXPECT_EQ(Raw(echFuelUsed), 0);
    // Without engines the packet carries no engine values: nothing is invented for them.
    for (uint32_t ch : {echThermo0, echThermo11, echTempOil, echPressOil, echPressMap, echRpmEng, echFuelFlow})
        EXPECT_EQ(TypeOf(ch), 0u) << ChanName(ch);
    EXPECT_EQ(Raw(echSpeedIas), 1852);
    // One tank: only the first level.
    w.U32(284, 1);
    StoreFdmPacket(Packet(w), 1, 5);
    EXPECT_EQ(Raw(echFuelLevel1), 378);
    EXPECT_EQ(TypeOf(echFuelLevel2), 0u);
    EXPECT_EQ(Raw(echFuelRemain), 378);
    EXPECT_EQ(Raw(echFuelUsed), 0) << "more fuel than at the first packet";
}

// A number a packet cannot give reads as none, not as the last good one, until a usable one comes.
TEST_F(FdmStore, NonNumbersAndHugeValuesReadAsNoValue) {
    StoreFdmPacket(Packet(Chosen()), 0, 1);
    Wire w = Chosen();
    w.Motion(Phi, std::numeric_limits<float>::quiet_NaN());
    w.D(24, std::numeric_limits<double>::infinity());
    w.D(16, 1e300);  // beyond a float
    w.Engine(Rpm, 0, 1e30f);
    w.F(288, std::numeric_limits<float>::quiet_NaN());
    w.Motion(Vcas, 120);
    StoreFdmPacket(Packet(w), 1, 2);
    for (uint32_t ch : {echInercialRoll, echAltitudeFL, echGPSLat, echRpmEng, echFuelLevel1, echFuelRemain, echFuelUsed})
        EXPECT_EQ(Raw(ch), MeasNoValue) << ChanName(ch);
    EXPECT_EQ(Raw(echSpeedIas), 2222);

    // A packet of 0xFF bytes: NaN everywhere, counts at their maximum.
    Wire junk;
    memset(junk.b, 0xFF, sizeof junk.b);
    StoreFdmPacket(Packet(junk), 2, 3);
    EXPECT_EQ(Raw(echSpeedIas), MeasNoValue);
    StoreFdmPacket(Packet(Chosen()), 3, 4);
    EXPECT_EQ(Raw(echInercialRoll), 572);
    EXPECT_EQ(Raw(echFuelUsed), 0) << "the fuel at the first packet is kept";
}

// A real FlightGear 2020.3 in flight, paused so that its packet and its own readings tell one
// moment: the block holds the simulator's values, converted (one raw step is `step` of the reading).
TEST_F(FdmStore, RecordedFlightGearReadsAsTheSimulator) {
    const std::string wire = Recorded("fg2020-c172p.fdm");
    TFdmPacket p;
    ASSERT_EQ(FdmConvert(reinterpret_cast<const uint8_t*>(wire.data()), wire.size(), p), 0);
    StoreFdmPacket(p, 0, 1);
    auto sim = RecordedReplies();
    const struct { uint32_t ch; const char* path; double step; } want[] = {
        {echInercialAccPilot, "/accelerations/pilot-g", 0.1}, {echPressMap, "/engines/engine/mp-inhg", 1e-4 / 0.0338639},
        {echInercialRoll, "/orientation/roll-deg", 0.01}, {echSpeedIas, "/velocities/airspeed-kt", 0.1 / 1.852},
        {echFuelLevel1, "/consumables/fuel/tank[0]/level-gal_us", 0.1 / 3.785},
    };
    for (auto& w : want) EXPECT_NEAR(Raw(w.ch), atof(sim[w.path].c_str() + sim[w.path].find('\'') + 1) / w.step, 1);
}

// ---- the server over loopback ----

class FdmServerTest : public BenchBlockTest {
protected:
    void SetUp() override {
        BenchBlockTest::SetUp();
        FdmTotals = {0, -1, FuelNotKnown};
        ports_.fdm = FreePort();
        ports_.props = FreePort();
        Reader();
        thread_ = std::make_unique<TMeassure>(MeassureModeFdm, ports_);
    }
    void TearDown() override {
        for (int fd : clients_) close(fd);
        thread_.reset();
        BenchBlockTest::TearDown();
    }
    int Client() {
        int fd = ConnectTo(ports_.fdm);
        EXPECT_GE(fd, 0);
        clients_.push_back(fd);
        return fd;
    }
    static Wire WithRpm(float rpm) {
        Wire w = Chosen();
        w.Engine(Rpm, 0, rpm);
        return w;
    }
    bool RpmBecomes(int32_t rpm) {
        return WaitUntil([&] { return Raw(echRpmEng) == rpm; });
    }
    int Received() { return Count(ConsoleCapture::Peek(), " Receive 408 bytes, readed = 408 bytes.\n"); }

    TMeassurePorts ports_;
    std::unique_ptr<TMeassure> thread_;
    std::vector<int> clients_;
};

TEST_F(FdmServerTest, PacketSplitAcrossWrites) {
    int fd = Client();
    Wire w = WithRpm(3100);
    ASSERT_TRUE(SendAll(fd, w.b, 100));
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    ASSERT_TRUE(SendAll(fd, w.b + 100, 300));
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(TypeOf(echRpmEng), 0u) << "nothing before the packet is whole";
    ASSERT_TRUE(SendAll(fd, w.b + 400, 8));
    EXPECT_TRUE(RpmBecomes(3100));
    EXPECT_EQ(Raw(echGPSLat), 5000000);
    std::string out = ConsoleCapture::Peek();
    EXPECT_NE(out.find("FlightGear FDM-native server waiting ... on port "), std::string::npos);
    EXPECT_NE(out.find("Client connect on fd "), std::string::npos);
    EXPECT_NE(out.find("version = 24\n-- Positions --\nlongitude = 0.249582\n"), std::string::npos);
    EXPECT_NE(out.find("rpm[0] = 3100.000000, fuel_flow[0] = 5.000000"), std::string::npos);
}

TEST_F(FdmServerTest, TwoPacketsAtOnceAreTwoPackets) {
    int fd = Client();
    uint8_t two[2 * FdmPacketSize];
    memcpy(two, WithRpm(1000).b, FdmPacketSize);
    memcpy(two + FdmPacketSize, WithRpm(2000).b, FdmPacketSize);
    ASSERT_TRUE(SendAll(fd, two, sizeof two));
    EXPECT_TRUE(RpmBecomes(2000));
    EXPECT_TRUE(WaitUntil([&] { return Received() == 2; }));
    // The second packet counted as number 1: fuel pressure sin(1/300) x 0.05 + 0.25.
    EXPECT_EQ(Raw(echPressFuel), 25);
}

TEST_F(FdmServerTest, ShortPacketThenCloseThenAnotherClient) {
    int fd = Client();
    Wire w = WithRpm(4444);
    ASSERT_TRUE(SendAll(fd, w.b, 200));
    EXPECT_TRUE(WaitUntil([&] { return Count(ConsoleCapture::Peek(), "Client connect on fd") == 1; }));
    close(fd);
    clients_.clear();
    EXPECT_TRUE(WaitUntil([&] { return Count(ConsoleCapture::Peek(), "Client disconnect on fd") == 1; }));
    EXPECT_EQ(TypeOf(echRpmEng), 0u);
    EXPECT_EQ(Received(), 0);
    // Garbage behind a right version word is survived, then a good packet is taken.
    int other = Client();
    uint8_t junk[FdmPacketSize];
    memset(junk, 0xFF, sizeof junk);
    memcpy(junk, Chosen().b, 4);
    ASSERT_TRUE(SendAll(other, junk, sizeof junk));
    ASSERT_TRUE(SendAll(other, WithRpm(4444).b, FdmPacketSize));
    EXPECT_TRUE(RpmBecomes(4444));
    EXPECT_EQ(Received(), 2);
}

// A newer simulator's packet (version 25, 552 bytes) is another layout: reported once, its
// client dropped, nothing stored, and the next simulator is served as before.
TEST_F(FdmServerTest, OtherPacketVersionIsReportedAndItsClientDropped) {
    for (uint32_t version : {25u, 0u}) {
        ConsoleCapture::Take();
        LastFdmPacket = {};
        int fd = Client();
        std::vector<uint8_t> packets;
        for (int i = 0; i < 3; ++i) {  // several packets in one go: still one report
            Wire w = WithRpm(2500);
            w.U32(0, version);
            packets.insert(packets.end(), w.b, w.b + FdmPacketSize);
            packets.insert(packets.end(), 144, 0);
        }
        ASSERT_TRUE(SendAll(fd, packets.data(), packets.size()));
        EXPECT_TRUE(WaitUntil([&] { return Count(ConsoleCapture::Peek(), "Client disconnect on fd") == 1; }));
        char c;
        EXPECT_LE(recv(fd, &c, 1, 0), 0) << "closed by the server";
        const std::string out = ConsoleCapture::Peek();
        EXPECT_EQ(Count(out, "FlightGear FDM packet version " + std::to_string(version) + ", expected 24\n"), 1);
        EXPECT_EQ(Received(), 0);
        EXPECT_EQ(TypeOf(echRpmEng), 0u) << "never stored";
        EXPECT_EQ(TypeOf(echGPSLat), 0u);
        EXPECT_EQ(LastFdmPacket.version, 0u);
    }
    int good = Client();
    ASSERT_TRUE(SendAll(good, WithRpm(2600).b, FdmPacketSize));
    EXPECT_TRUE(RpmBecomes(2600));
}

// Without the dump variable only the state lines reach the console.
TEST_F(FdmServerTest, ValueDumpsOnlyWhenAskedFor) {
    BenchDumpSamples = false;
    int fd = Client();
    ASSERT_TRUE(SendAll(fd, WithRpm(2700).b, FdmPacketSize));
    EXPECT_TRUE(RpmBecomes(2700));
    std::string out = ConsoleCapture::Peek();
    EXPECT_NE(out.find("FlightGear FDM-native server waiting ... on port "), std::string::npos);
    EXPECT_NE(out.find("Client connect on fd "), std::string::npos);
    for (const char* dump : {" Receive 408 bytes", "version = ", "rpm[0] = ", "-- Positions --"})
        EXPECT_EQ(out.find(dump), std::string::npos) << dump;
    BenchDumpSamples = true;
    ASSERT_TRUE(SendAll(fd, WithRpm(2800).b, FdmPacketSize));
    EXPECT_TRUE(RpmBecomes(2800));
    EXPECT_TRUE(WaitUntil([&] { return Received() == 1; }));
    EXPECT_NE(ConsoleCapture::Peek().find("rpm[0] = 2800.000000"), std::string::npos);
}

TEST_F(FdmServerTest, SixtyFourthClientIsRefused) {
    // One at a time: the listen backlog is 5.
    for (int i = 1; i < FdmMaxSockets; ++i) {
        Client();
        ASSERT_TRUE(WaitUntil([&] { return Count(ConsoleCapture::Peek(), "Client connect on fd") == i; }));
    }
    int extra = Client();
    EXPECT_TRUE(WaitUntil([&] { return Count(ConsoleCapture::Peek(), "Client refused on fd") == 1; }));
    // Closed by the server: what it sends is never read.
    SendAll(extra, WithRpm(777).b, FdmPacketSize);
    char c;
    EXPECT_LE(recv(extra, &c, 1, 0), 0);
    // The last client of the set is still served.
    ASSERT_TRUE(SendAll(clients_[clients_.size() - 2], WithRpm(888).b, FdmPacketSize));
    EXPECT_TRUE(RpmBecomes(888));
    EXPECT_EQ(Received(), 1);
}

TEST_F(FdmServerTest, ListeningPortIsFreeAgainAtOnce) {
    int fd = Client();
    ASSERT_TRUE(SendAll(fd, WithRpm(1500).b, FdmPacketSize));
    EXPECT_TRUE(RpmBecomes(1500));
    thread_.reset();  // a source change: the next thread binds the same port
    std::string out = ConsoleCapture::Take();
    EXPECT_NE(out.find("Server exit\n"), std::string::npos);
    thread_ = std::make_unique<TMeassure>(MeassureModeFdm, ports_);
    EXPECT_TRUE(WaitUntil([&] { return ConsoleCapture::Peek().find("server waiting") != std::string::npos; }));
    EXPECT_EQ(ConsoleCapture::Peek().find("fgserv: port"), std::string::npos);
    int again = Client();
    ASSERT_TRUE(SendAll(again, WithRpm(1600).b, FdmPacketSize));
    EXPECT_TRUE(RpmBecomes(1600));
}

// A simulator that stops, its link closed or open and silent, is shown no more: its values
// read as none within about a second, and come back with the next packet.
TEST_F(FdmServerTest, StoppedSimulatorReadsAsNoValue) {
    const auto none = [&] {
        int32_t v;
        for (uint32_t ch : {echInercialRoll, echSpeedIas, echAltitudeQNH, echRpmEng, echTempOAT, echGPSLat})
            if (Reader().GetVal(ch, v) != -21) return false;
        return true;
    };
    for (int closed : {1, 0}) {
        int fd = Client();
        ASSERT_TRUE(SendAll(fd, WithRpm(2000 + closed).b, FdmPacketSize));
        EXPECT_TRUE(RpmBecomes(2000 + closed));
        if (closed) {
            close(fd);
            clients_.pop_back();
        }
        EXPECT_TRUE(WaitUntil(none, 1500)) << closed;
    }
    ASSERT_TRUE(SendAll(clients_.back(), WithRpm(2100).b, FdmPacketSize));
    EXPECT_TRUE(RpmBecomes(2100));
    EXPECT_EQ(Raw(echGPSLat), 5000000);
}

TEST_F(FdmServerTest, PortInUseIsReportedAndTheThreadStillStops) {
    TMeassure second(MeassureModeFdm, ports_);
    EXPECT_TRUE(WaitUntil([&] { return ConsoleCapture::Peek().find("fgserv: port ") != std::string::npos; }));
    second.Terminate();
    EXPECT_EQ(second.WaitFor(), 0);
}

}  // namespace

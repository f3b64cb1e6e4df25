// The property client against a small property server on loopback: requests
// byte for byte, replies parsed into channels, bounded replies, reconnecting.
#include <poll.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "fg_recorded.h"
#include "fgprops.h"

namespace {

// Answers each request line with what `Reply` gives (sent in its pieces).
class FakePropServer {
public:
    explicit FakePropServer(uint16_t port = 0) {
        if (port == 0) {
            listener_ = ListenAnyPort(port_);
        } else {
            port_ = port;
            listener_ = socket(AF_INET, SOCK_STREAM, 0);
            int one = 1;
            setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
            sockaddr_in a = Loopback(port);
            bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
            listen(listener_, 4);
        }
        thread_ = std::thread([this] { Run(); });
    }
    ~FakePropServer() {
        stop_ = true;
        thread_.join();
        if (client_ >= 0) close(client_);
        close(listener_);
    }
    uint16_t Port() const { return port_; }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> g(m_);
        return lines_;
    }
    int Connections() const { return connections_; }
    void Drop() { drop_ = true; }
    void Mute() { mute_ = true; }  // open, and silent

    // Pieces of the reply to a request line. The default answers as the simulator's property
    // server does in its prompt mode: the quoted value of `values` with its type, `'' (unknown)`
    // for a missing path, a set echoed with the new value, each followed by the prompt "/> ".
    std::function<std::vector<std::string>(const std::string&)> Reply = [this](const std::string& line) {
        const std::string body = line.substr(0, line.find_first_of("\r\n"));
        std::lock_guard<std::mutex> g(m_);
        if (body.compare(0, 4, "set ") == 0) {
            const size_t blank = body.find(' ', 4);
            const std::string path = body.substr(4, blank - 4);
            values[path] = blank == std::string::npos ? "" : body.substr(blank + 1);
            return std::vector<std::string>{path + " = '" + values[path] + "' (double)\r\n/> "};
        }
        if (body.compare(0, 4, "get ") != 0) return std::vector<std::string>{"/> "};
        const std::string path = body.substr(4);
        auto it = values.find(path);
        if (it == values.end()) return std::vector<std::string>{path + " = '' (unknown)\r\n/> "};
        return std::vector<std::string>{path + " = '" + it->second + "' (" + TypeName(it->second) + ")\r\n/> "};
    };
    std::map<std::string, std::string> values;

private:
    static std::string TypeName(const std::string& value) {
        if (value == "true" || value == "false") return "bool";
        char* end = nullptr;
        strtod(value.c_str(), &end);
        return !value.empty() && end && !*end ? "double" : "string";
    }

    void Run() {
        std::string pending;
        while (!stop_) {
            if (drop_ && client_ >= 0) {
                close(client_);
                client_ = -1;
            }
            drop_ = false;
            pollfd p[2] = {{listener_, POLLIN, 0}, {client_, POLLIN, 0}};
            if (poll(p, client_ >= 0 ? 2 : 1, 20) <= 0) continue;
            if (p[0].revents & POLLIN) {
                if (client_ >= 0) close(client_);
                client_ = accept(listener_, nullptr, nullptr);
                pending.clear();
                ++connections_;
                continue;
            }
            char buf[4096];
            ssize_t n = recv(client_, buf, sizeof buf, 0);
            if (n <= 0) {
                close(client_);
                client_ = -1;
                continue;
            }
            pending.append(buf, static_cast<size_t>(n));
            for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                std::string line = pending.substr(0, end + 1);
                pending.erase(0, end + 1);
                {
                    std::lock_guard<std::mutex> g(m_);
                    lines_.push_back(line);
                }
                std::vector<std::string> pieces = mute_ ? std::vector<std::string>{} : Reply(line);
                for (size_t i = 0; i < pieces.size(); ++i) {
                    if (i) std::this_thread::sleep_for(std::chrono::milliseconds(30));
                    SendAll(client_, pieces[i].data(), pieces[i].size());
                }
            }
        }
    }

    uint16_t port_ = 0;
    int listener_ = -1, client_ = -1;
    std::atomic<bool> stop_{false}, drop_{false}, mute_{false};
    std::atomic<int> connections_{0};
    std::mutex m_;
    std::vector<std::string> lines_;
    std::thread thread_;
};

class PropClient : public BenchBlockTest {
protected:
    void SetUp() override {
        BenchBlockTest::SetUp();
        Attach();
    }
};

// Every request of one pass, in table order, as the server must see it: a row's other path is
// asked when the server holds no value for its own.
std::vector<std::string> ExpectedPass(const char* elevator, const char* aileron,
                                      const std::map<std::string, std::string>& values = {}) {
    std::vector<std::string> lines;
    for (const TFGPropRow& r : FGPropTable) {
        if (r.mode == 'G') {
            lines.push_back(std::string("get ") + r.path + "\r\n");
            if (r.orElse && (!values.count(r.path) || values.at(r.path).empty()))
                lines.push_back(std::string("get ") + r.orElse + "\r\n");
        } else if (r.chan == echCtrlPosServo1Target && elevator) lines.push_back(std::string("set ") + r.path + " " + elevator + "\r\n");
        else if (r.chan == echCtrlPosServo2Target && aileron) lines.push_back(std::string("set ") + r.path + " " + aileron + "\r\n");
    }
    return lines;
}

TEST(PropReply, ValueBetweenTheOuterQuotes) {
    char v[16];
    EXPECT_EQ(ParsePropReply("/a = '12.5' (double)\r\n", 3, v, sizeof v), 0);
    EXPECT_STREQ(v, "12.5");
    EXPECT_EQ(ParsePropReply("/a = 'it's' (string)", 4, v, sizeof v), 0);
    EXPECT_STREQ(v, "it's");
    EXPECT_EQ(ParsePropReply("/a = 'true' (bool)", 1, v, sizeof v), 0);
    EXPECT_STREQ(v, "1");
    EXPECT_EQ(ParsePropReply("/a = 'false' (bool)", 1, v, sizeof v), 0);
    EXPECT_STREQ(v, "0");
    EXPECT_EQ(ParsePropReply("/a = 'yes' (bool)", 1, v, sizeof v), 0);
    EXPECT_STREQ(v, "-9999");
    EXPECT_EQ(ParsePropReply("/a = '' (string)", 4, v, sizeof v), -1);
    EXPECT_EQ(ParsePropReply("/a = 'x", 4, v, sizeof v), -1);
    EXPECT_EQ(ParsePropReply("/a = <unknown>", 4, v, sizeof v), -1);
    EXPECT_EQ(ParsePropReply("'0123456789abcdefghij'", 4, v, sizeof v), 0);
    EXPECT_STREQ(v, "0123456789abcde") << "cut to the capacity";
}

TEST(PropTable, RowsAndCallbacksWithoutBlock) {
    EXPECT_EQ(FGPropTable[0].chan, static_cast<uint32_t>(echNavValid));
    EXPECT_STREQ(FGPropTable[28].path, "/controls/flight/aileron");
    int sets = 0;
    for (const TFGPropRow& r : FGPropTable) sets += r.mode == 'S';
    EXPECT_EQ(sets, 8);
    char v[16];
    EXPECT_EQ(FgPropSet(0, v, sizeof v), -100);
    EXPECT_EQ(FgPropSet(29, v, sizeof v), -100);
    EXPECT_EQ(FgPropGet(-1, "1"), -1);
}

TEST_F(PropClient, OnePassByteForByteAndIntoTheChannels) {
    FakePropServer server;
    server.values = {
        {"/instrumentation/nav/in-range", "true"},
        {"/instrumentation/nav/has-gs", "yes"},
        {"/instrumentation/nav/to-flag", "false"},
        {"/instrumentation/nav/from-flag", ""},
        {"/instrumentation/nav/heading-needle-deflection", "0.5"},
        {"/instrumentation/nav/gs-needle-deflection", "-0.2"},
        {"/instrumentation/nav/radials/selected-deg", "123.4"},
        {"/instrumentation/nav/nav-id", "OKL"},
        {"/instrumentation/nav/frequencies/selected-mhz-fmt", "108.50"},
        {"/instrumentation/nav/frequencies/standby-mhz-fmt", "abc"},
        {"/instrumentation/gps/indicated-ground-speed-kt", "100"},
        {"/instrumentation/gps/indicated-altitude-ft", "1000"},
        {"/instrumentation/gps/wp/wp[1]/ID", "HOMEBASE1"},
        {"/instrumentation/gps/wp/wp[1]/distance-nm", "nan"},
        {"/instrumentation/gps/wp/wp[1]/bearing-true-deg", "45"},
        {"/instrumentation/gps/indicated-track-true-deg", "1e30"},
        {"/instrumentation/gps/serviceable", "false"},
    };
    ASSERT_EQ(writer_->SetVal(echCtrlPosServo1Target, static_cast<int32_t>(250)), 0);
    ASSERT_EQ(writer_->SetVal(echCtrlPosServo2Target, static_cast<int32_t>(-1000)), 0);

    TFGProps props(PropServerHost, server.Port(), FgPropGet, FgPropSet);
    ASSERT_EQ(props.Connect(), 0);
    EXPECT_EQ(props.Connect(), -2);
    ASSERT_EQ(props.Poll(), 0);
    EXPECT_EQ(server.Lines(), ExpectedPass("0.250", "-1.000", server.values));
    EXPECT_EQ(server.Lines()[5], "set /controls/flight/elevator 0.250\r\n");

    EXPECT_EQ(Raw(echNavValid), 1);
    EXPECT_EQ(Raw(echNavGsiValid), -9999);
    EXPECT_EQ(Raw(echNavTo), 0);
    EXPECT_EQ(TypeOf(echNavFrom), 0u) << "an empty value is skipped";
    EXPECT_EQ(Raw(echNavCdiDef), 5);
    EXPECT_EQ(Raw(echNavGsiDef), -3);
    EXPECT_EQ(Raw(echNavObs), 1234);
    EXPECT_EQ(Text(echNavIdnt), "OKL");
    EXPECT_EQ(Raw(echNavFreqA), 10850);
    EXPECT_EQ(TypeOf(echNavFreqS), 0u) << "not a number";
    EXPECT_EQ(TypeOf(echNavBta), 0u) << "'' (unknown): no such property";
    EXPECT_EQ(Raw(echGPSGrSpeed), 1852);
    EXPECT_EQ(Raw(echGPSAlt), 3048);
    EXPECT_EQ(Text(echGPSId), "HOMEBASE");
    EXPECT_EQ(Raw(echGPSDtw), MeasNoValue) << "not a number";
    EXPECT_EQ(Raw(echGPSBtw), 450);
    EXPECT_EQ(Raw(echGPSTrk), MeasNoValue) << "beyond the channel's range";
    EXPECT_EQ(Raw(echGPSValid), 0) << "out of service: not valid";
}

// What a real FlightGear 2020.3 answered in flight (a VOR in range, no "-fmt" frequencies, no GPS
// route) lands in the channels as the pages read them.
TEST_F(PropClient, RecordedFlightGearRepliesIntoTheChannels) {
    FakePropServer server;
    auto replies = RecordedReplies();
    server.Reply = [&](const std::string& line) {
        const std::string path = line.substr(4, line.find('\r') - 4);
        return std::vector<std::string>{(replies.count(path) ? replies[path] : path + " = '' (unknown)\r\n") + "/> "};
    };
    TFGProps props(PropServerHost, server.Port(), FgPropGet, FgPropSet);
    ASSERT_EQ(props.Connect(), 0);
    ASSERT_EQ(props.Poll(), 0);
    const struct { uint32_t ch; int32_t raw; } want[] = {
        {echNavValid, 1}, {echNavObs, 2840}, {echNavBts, 3291}, {echNavFreqA, 11200}, {echNavFreqS, 10850},
        {echGPSValid, GpsWordValid}, {echGPSBtw, MeasNoValue}, {echGPSDtw, MeasNoValue}, {echGPSAlt, 9399},
    };
    for (auto& w : want) EXPECT_EQ(Raw(w.ch), w.raw) << ChanName(w.ch);
}

TEST_F(PropClient, ServoTargetsNobodySetAreNotSent) {
    FakePropServer server;
    TFGProps props(PropServerHost, server.Port(), FgPropGet, FgPropSet);
    ASSERT_EQ(props.Connect(), 0);
    ASSERT_EQ(props.Poll(), 0);
    EXPECT_EQ(server.Lines(), ExpectedPass(nullptr, nullptr));
    // Without the block's reader the rows are skipped too.
    ASSERT_EQ(writer_->SetVal(echCtrlPosServo1Target, static_cast<int32_t>(5)), 0);
    ValReader = nullptr;
    ASSERT_EQ(props.Poll(), 0);
    EXPECT_EQ(server.Lines().size(), 2 * ExpectedPass(nullptr, nullptr).size());
}

TEST_F(PropClient, NoServer) {
    TFGProps props(PropServerHost, FreePort(), FgPropGet, FgPropSet);
    EXPECT_EQ(props.Connect(), -1);
    EXPECT_FALSE(props.Connected);
    EXPECT_EQ(props.Socket, -1);
    EXPECT_EQ(props.Poll(), -1);
}

TEST_F(PropClient, SplitAndOverlongReplies) {
    FakePropServer server;
    server.values = {{"/instrumentation/nav/heading-deg", "90"}, {"/instrumentation/nav/nav-id", "ABC"}};
    auto plain = server.Reply;
    server.Reply = [&](const std::string& line) {
        if (line.find("/instrumentation/nav/nav-id") != std::string::npos)
            return std::vector<std::string>{"/instrumentation/nav/nav-id = 'A", "BC' (str", "ing)\r\n"};
        if (line.find("/instrumentation/nav/heading-deg") != std::string::npos)
            return std::vector<std::string>{"x = '" + std::string(5000, '7') + "' (double)\r\n"};
        return plain(line);
    };
    TFGProps props(PropServerHost, server.Port(), FgPropGet, FgPropSet);
    ASSERT_EQ(props.Connect(), 0);
    ASSERT_EQ(props.Poll(), 0);
    EXPECT_EQ(TypeOf(echNavObs), 0u) << "the closing quote lies beyond 2048 bytes";
    EXPECT_EQ(Text(echNavIdnt), "ABC") << "the reply after the long one is its own";
    EXPECT_EQ(server.Lines().size(), ExpectedPass(nullptr, nullptr).size());
}

TEST_F(PropClient, EndlessLineOrSilenceEndsTheConnection) {
    FakePropServer server;
    server.Reply = [](const std::string&) { return std::vector<std::string>{std::string(70000, 'z')}; };
    TFGProps props(PropServerHost, server.Port(), FgPropGet, FgPropSet);
    ASSERT_EQ(props.Connect(), 0);
    EXPECT_EQ(props.Poll(), -2);
    EXPECT_FALSE(props.Connected);
    EXPECT_EQ(props.Socket, -1);

    server.Reply = [](const std::string&) { return std::vector<std::string>{}; };
    ASSERT_EQ(props.Connect(), 0);
    EXPECT_EQ(props.Poll(), -2);  // after the reply time-out
    EXPECT_FALSE(props.Connected);
}

TEST_F(PropClient, ServerGoneMidPass) {
    FakePropServer server;
    server.Reply = [&](const std::string& line) {
        if (line.find("has-gs") == std::string::npos) return std::vector<std::string>{"\r\n"};
        server.Drop();
        return std::vector<std::string>{};
    };
    TFGProps props(PropServerHost, server.Port(), FgPropGet, FgPropSet);
    ASSERT_EQ(props.Connect(), 0);
    EXPECT_EQ(props.Poll(), -2);
    EXPECT_FALSE(props.Connected);
}

TEST_F(PropClient, ThreadRetriesUntilTheServerComesAndAfterItLeaves) {
    uint16_t port = FreePort();
    TFGProps props(PropServerHost, port, FgPropGet, FgPropSet);
    EXPECT_EQ(props.Connect(), -1);
    ASSERT_EQ(props.StartThread(), 0);
    EXPECT_EQ(props.StartThread(), -1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(TypeOf(echGPSAlt), 0u);
    {
        FakePropServer server(port);
        server.values = {{"/instrumentation/gps/indicated-altitude-ft", "2000"}};
        EXPECT_TRUE(WaitUntil([&] { return Raw(echGPSAlt) == 6096; }));
        EXPECT_EQ(server.Connections(), 1);
        server.Drop();
        EXPECT_TRUE(WaitUntil([&] { return server.Connections() == 2; }));
        size_t before = server.Lines().size();
        EXPECT_TRUE(WaitUntil([&] { return server.Lines().size() > before + 30; })) << "polling again";
    }
    EXPECT_TRUE(WaitUntil([&] { return !props.Connected; }));
    EXPECT_TRUE(props.Running);
    // A server gone or silent is shown no more; its next answer brings the value back.
    EXPECT_TRUE(WaitUntil([&] { return Raw(echGPSAlt) == MeasNoValue; }, 1500)) << "gone";
    FakePropServer back(port);
    back.values = {{"/instrumentation/gps/indicated-altitude-ft", "2000"}};
    EXPECT_TRUE(WaitUntil([&] { return Raw(echGPSAlt) == 6096; }));
    back.Mute();
    EXPECT_TRUE(WaitUntil([&] { return Raw(echGPSAlt) == MeasNoValue; }, 1500)) << "silent";
}

using PropThroughThread = BenchBlockTest;

TEST_F(PropThroughThread, SimulatorModeRunsTheClient) {
    FakePropServer server;
    server.values = {{"/instrumentation/nav/nav-id", "VOR"}};
    Reader();
    TMeassurePorts ports;
    ports.fdm = FreePort();
    ports.props = server.Port();
    {
        TMeassure thread(MeassureModeFdm, ports);
        EXPECT_TRUE(WaitUntil([&] { return Text(echNavIdnt) == "VOR"; }));
    }
    EXPECT_EQ(server.Lines()[0], "get /instrumentation/nav/in-range\r\n");
    EXPECT_EQ(MeasAttachment().UsingAsWriter, 0);
}

}  // namespace

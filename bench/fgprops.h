// Client of the flight simulator's property server: a line protocol over TCP
// ("get <path>\r\n", "set <path> <value>\r\n"), polled by its own thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "sourcefeed.h"
#include "unique_fd.h"

struct TFGPropRow {
    uint32_t chan;
    char mode;        // 'G' get, 'S' set
    uint32_t period;  // 1000, not consulted
    int kind;         // 1 flag, 3 number, 4 text
    const char* path;
    const char* orElse = nullptr;  // asked when path answers empty (a simulator without it)
};
constexpr int FGPropRows = 29;
extern const TFGPropRow FGPropTable[FGPropRows];

constexpr const char* PropServerHost = "127.0.0.1";
constexpr int PropReplySize = 2048;      // one reply, without its terminator
constexpr int PropReplyTimeoutMs = 1000;  // a reply that does not come in time ends the connection

// Get callback: row and the value text; 0, or -1 for an unknown kind.
typedef int (*TFGPropGetFn)(int row, const char* value);
// Set callback: row, the value text to send (capacity bytes); >= 0 send, < 0 skip the row.
typedef int (*TFGPropSetFn)(int row, char* value, int capacity);

// The value of a get reply: the text between its first and last single quote,
// flags turned into "1", "0" or "-9999". 0, or -1 when there is none.
int ParsePropReply(const char* reply, int kind, char* value, int capacity);

class TFGProps {
public:
    TFGProps(const char* host, uint16_t port, TFGPropGetFn get, TFGPropSetFn set);
    ~TFGProps();
    TFGProps(const TFGProps&) = delete;
    TFGProps& operator=(const TFGProps&) = delete;

    // 0; -2 already connected; -1 the connection failed.
    int Connect();
    void Disconnect();
    // 0 after one pass over the table; -1 not connected; -2 a send or receive failed (disconnected).
    int Poll();
    // 0, or -1 when the thread cannot be created (running flag cleared).
    int StartThread();

    char Host[16];
    uint16_t Port;
    int Socket;
    std::atomic<bool> Connected;
    std::atomic<bool> Running;
    TFGPropGetFn OnGet;
    TFGPropSetFn OnSet;
    TSourceFeed Feed;  // the channels its replies fed

private:
    void ThreadProc();
    void CheckQuiet();
    void SleepWhileRunning(int ms);
    // Sends one request and receives its reply: 0, or -1 (disconnected).
    int Ask(const char* line, char* reply);
    int SendLine(const char* line);
    int ReceiveReply(char* reply);
    void DropPending();

    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The callbacks of the data-source thread: store a property into its channel,
// and give the servo targets to send.
int FgPropGet(int row, const char* value);
int FgPropSet(int row, char* value, int capacity);

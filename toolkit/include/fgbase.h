// Toolkit base: pixel type, the root class, the periodic timer and the
// millisecond clock, the recursive lock and the colour scheme.
#pragma once

#include <cstdint>
#include <mutex>

// 0x00RRGGBB, blue in the low byte.
typedef uint32_t FGPixel;

// Coordinates are summed in 64 bits and brought back into the int range here.
inline int fg_clamp_int(int64_t v) {
    return static_cast<int>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

// Root of the toolkit's classes: a one-way link from a sender to a receiver.
class FGConnector {
public:
    int argument = -1;
    FGConnector* receiver = nullptr;

    FGConnector() = default;
    virtual ~FGConnector() = default;
    virtual void Receive(FGConnector* /*sender*/, int /*argument*/) {}
};

// ---- periodic timer (one per process) ----
typedef void (*FGTimerHandler)(int);

// Replaces the running timer: period 0 stops it. Returns 0, or -1 when no
// timer could be started. The handler runs on the timer's own thread.
int fg_set_timer(int period_ms, FGTimerHandler handler);
// Notes the start time and asks for 10 ms resolution; returns 0.
int fg_timer_open();
// Stops the timer (no handler call after it returns) and gives the resolution back.
void fg_timer_close();
// Millisecond clock, wraps at 2^32.
uint32_t fg_time_ms();
// Start time noted by fg_timer_open (ms).
uint32_t fg_timer_start_time();

// The toolkit object around the program's timer; destroying it closes the timer layer.
class FGTimer : public FGConnector {
public:
    int timer_id;

    FGTimer(int period_ms, FGTimerHandler handler);
    ~FGTimer() override;
    FGTimer(const FGTimer&) = delete;
    FGTimer& operator=(const FGTimer&) = delete;
};

// ---- recursive lock ----
class FGMutex {
public:
    int spare;

    explicit FGMutex(int unused = 0);
    FGMutex(const FGMutex&) = delete;
    FGMutex& operator=(const FGMutex&) = delete;

    void Lock();
    void Unlock();

    // So that std::lock_guard<FGMutex> works.
    void lock() { Lock(); }
    void unlock() { Unlock(); }

private:
    std::recursive_mutex cs;
};

// ---- colour scheme ----
constexpr int FGColorSchemeWords = 34;

struct FGColorScheme {
    int color[FGColorSchemeWords];  // 0x00RRGGBB, meaning by word index
};

extern const FGColorScheme FGDefaultColorScheme;
// The current scheme (points at the default one; never changed).
extern const FGColorScheme* CScheme;

#include "fgbase.h"

#include <atomic>
#include <cstdio>

#include "timer.h"

// ---- periodic timer ----

namespace {

// Guards the stored id. Never held while a timer thread is joined, so a
// handler that itself sets the timer cannot deadlock with a stopping caller.
std::mutex timer_layer_lock;
int timer_id = 0;
std::atomic<FGTimerHandler> timer_handler{nullptr};
std::atomic<int> timer_argument{0};
std::atomic<uint32_t> timer_start_time{0};

constexpr unsigned TimerResolution = 10;

void TimerProc(void*) {
    FGTimerHandler h = timer_handler.load();
    if (h)
        h(timer_argument.load());
}

// Stops the stored timer; returns with the lock held and no timer stored.
void KillStoredTimer(std::unique_lock<std::mutex>& lk) {
    while (timer_id) {
        int id = timer_id;
        timer_id = 0;
        lk.unlock();
        plat::timer_kill(id);
        lk.lock();
    }
}

}  // namespace

int fg_set_timer(int period_ms, FGTimerHandler handler) {
    std::unique_lock<std::mutex> lk(timer_layer_lock);
    KillStoredTimer(lk);
    if (period_ms == 0)
        return 0;
    timer_handler.store(handler);
    // A negative period is refused like any period the system cannot run.
    int id = period_ms > 0 ? plat::timer_start(static_cast<unsigned>(period_ms), TimerProc, nullptr)
                           : 0;
    timer_id = id;
    if (id == 0) {
        printf("timeSetEvent() failed!\n");
        return -1;
    }
    return 0;
}

int fg_timer_open() {
    timer_start_time.store(fg_time_ms());
    if (plat::timer_begin_period(TimerResolution) != 0)
        printf("Warning: Can't set %d ms timer resolution!\n", static_cast<int>(TimerResolution));
    return 0;
}

void fg_timer_close() {
    fg_set_timer(0, nullptr);
    {
        std::unique_lock<std::mutex> lk(timer_layer_lock);
        KillStoredTimer(lk);
    }
    plat::timer_end_period(TimerResolution);
}

uint32_t fg_time_ms() { return plat::time_ms(); }

uint32_t fg_timer_start_time() { return timer_start_time.load(); }

FGTimer::FGTimer(int period_ms, FGTimerHandler handler) : timer_id(fg_set_timer(period_ms, handler)) {}

FGTimer::~FGTimer() { fg_timer_close(); }

// ---- recursive lock ----

FGMutex::FGMutex(int) : spare(0) {}

void FGMutex::Lock() { cs.lock(); }

void FGMutex::Unlock() { cs.unlock(); }

// ---- colour scheme ----

const FGColorScheme FGDefaultColorScheme = {{
    0xD8D0B8, 0x000000, 0x0000F8, 0x684028, 0xFFFFFF, 0x585858, 0x687884, 0x687884,
    0x687884, 0x000078, 0x687884, 0xFFFFFF, 0x000000, 0x7C8074, 0x444444, 0xA8B8AC,
    0xFFFFFF, 0x000000, 0x585858, 0xFFFFFF, 0x000000, 0x444444, 0xA8B8AC, 0x7C8074,
    0xA8B8AC, 0x000000, 0x000000, 0x585858, 0xFFFFFF, 0x7C8074, 0xFCE000, 0x7C8074,
    0x0000F8, 0xA8B8AC,
}};

const FGColorScheme* CScheme = &FGDefaultColorScheme;

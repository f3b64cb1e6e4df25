#include "timer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace plat {

namespace {

using Clock = std::chrono::steady_clock;

struct PeriodicTimer {
    std::chrono::milliseconds period;
    TimerProc proc;
    void* user;
    std::mutex m;
    std::condition_variable wake;
    bool stop = false;
    std::thread thread;

    void run() {
        Clock::time_point next = Clock::now() + period;
        std::unique_lock<std::mutex> lk(m);
        for (;;) {
            if (wake.wait_until(lk, next, [this] { return stop; }))
                return;
            lk.unlock();
            proc(user);
            lk.lock();
            // A late tick does not bring a burst of catch-up calls.
            next += period;
            Clock::time_point now = Clock::now();
            if (next < now)
                next = now + period;
        }
    }
};

std::mutex registry_lock;
std::map<int, std::shared_ptr<PeriodicTimer>> timers;
int last_id = 0;

const Clock::time_point process_start = Clock::now();

}  // namespace

int timer_start(unsigned period_ms, TimerProc proc, void* user) {
    if (period_ms == 0 || proc == nullptr)
        return 0;
    auto t = std::make_shared<PeriodicTimer>();
    t->period = std::chrono::milliseconds(period_ms);
    t->proc = proc;
    t->user = user;
    std::lock_guard<std::mutex> g(registry_lock);
    int id = last_id + 1;
    if (id <= 0)
        id = 1;
    while (timers.count(id))
        ++id;
    try {
        // The thread keeps its record alive, so a timer killed from its own
        // callback can end on its own.
        t->thread = std::thread([t] { t->run(); });
    } catch (const std::system_error&) {
        return 0;
    }
    timers.emplace(id, std::move(t));
    last_id = id;
    return id;
}

void timer_kill(int id) {
    std::shared_ptr<PeriodicTimer> t;
    {
        std::lock_guard<std::mutex> g(registry_lock);
        auto it = timers.find(id);
        if (it == timers.end())
            return;
        t = std::move(it->second);
        timers.erase(it);
    }
    {
        std::lock_guard<std::mutex> g(t->m);
        t->stop = true;
    }
    t->wake.notify_all();
    if (t->thread.get_id() == std::this_thread::get_id()) {
        // Killed from its own callback: the loop sees the flag when the call returns.
        t->thread.detach();
        return;
    }
    t->thread.join();
}

uint32_t time_ms() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - process_start);
    return static_cast<uint32_t>(static_cast<uint64_t>(ms.count()));
}

namespace {
std::atomic<int> period_requests{0};
}

int timer_begin_period(unsigned ms) {
    if (ms == 0)
        return -1;
    ++period_requests;
    return 0;
}

int timer_end_period(unsigned ms) {
    if (ms == 0 || period_requests.load() <= 0)
        return -1;
    --period_requests;
    return 0;
}

}  // namespace plat

// Periodic timer and millisecond clock, in place of the multimedia timers.
// Each timer runs its callback on its own thread, paced by the steady clock.
#pragma once

#include <cstdint>

namespace plat {

typedef void (*TimerProc)(void* user);

// Starts a periodic timer (period in ms, at least 1); returns its id (> 0),
// or 0 when no timer can be started.
int timer_start(unsigned period_ms, TimerProc proc, void* user);

// Stops the timer and joins its thread: no callback runs once this returns
// (called from the timer's own callback, the running call is the last one).
// Unknown ids are ignored.
void timer_kill(int id);

// Milliseconds of the steady clock since the process started (wraps at 2^32).
uint32_t time_ms();

// Timer resolution requests; the threads sleep to the steady clock anyway,
// so these only keep count. Return 0 on success.
int timer_begin_period(unsigned ms);
int timer_end_period(unsigned ms);

}  // namespace plat

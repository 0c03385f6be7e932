// Window timers of the stand-in, driven by its clock: advanceClock fires
// each timer at every time it falls due, in time order, with the clock set
// to that time, so what a timer draws is exact and repeatable.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <utility>

#include "platform/sim/state.h"

namespace vb::sim::detail {

namespace {

// Windows makes no timer shorter than this (USER_TIMER_MINIMUM).
constexpr unsigned kShortestTimerMs = 10;

struct SimTimer {
    unsigned interval = 0;
    long long due = 0;
    unsigned long long order = 0;  // timers due at once fire in the order they were set
};

using TimerKey = std::pair<std::uintptr_t, std::uintptr_t>;  // window, id

struct Timers {
    std::map<TimerKey, SimTimer> running;
    unsigned long long set = 0;
};

Timers& timers() {
    static auto* all = new Timers;  // windows' last messages may come during exit
    return *all;
}

// The timer due first at or before `until`, if any.
const TimerKey* nextDue(long long until) {
    const TimerKey* best = nullptr;
    const SimTimer* bestTimer = nullptr;
    for (const auto& [key, timer] : timers().running) {
        if (timer.due > until) continue;
        if (!bestTimer || timer.due < bestTimer->due ||
            (timer.due == bestTimer->due && timer.order < bestTimer->order)) {
            best = &key;
            bestTimer = &timer;
        }
    }
    return best;
}

}  // namespace

void dropTimers(std::uintptr_t window) {
    auto& running = timers().running;
    running.erase(running.lower_bound({window, 0}), running.upper_bound({window, UINTPTR_MAX}));
}

void runTimersUntil(long long until) {
    InputState& in = input();
    while (const TimerKey* key = nextDue(until)) {
        TimerKey fired = *key;
        SimTimer& timer = timers().running[fired];
        in.clockMs = std::max(in.clockMs, timer.due);
        timer.due = in.clockMs + timer.interval;
        timer.order = timers().set++;
        SimWindow* w = find(fired.first);
        if (!w) {
            dropTimers(fired.first);
            continue;
        }
        deliver(*w, wm::Timer, static_cast<WParam>(fired.second), 0);
    }
    in.clockMs = std::max(in.clockMs, until);
}

int timerCountOf(std::uintptr_t window) {
    const auto& running = timers().running;
    return static_cast<int>(
        std::distance(running.lower_bound({window, 0}), running.upper_bound({window, UINTPTR_MAX})));
}

}  // namespace vb::sim::detail

namespace vb::platform {

using namespace vb::sim::detail;

bool setTimer(Window window, std::uintptr_t id, unsigned milliseconds) {
    SimWindow* w = find(window);
    if (!w || w->destroying) return false;
    unsigned interval = std::max(milliseconds, kShortestTimerMs);
    Timers& all = timers();
    all.running[{w->id, id}] = SimTimer{interval, input().clockMs + interval, all.set++};
    return true;
}

void killTimer(Window window, std::uintptr_t id) { timers().running.erase({toId(window), id}); }

std::uint32_t tickCount() { return static_cast<std::uint32_t>(input().clockMs); }

}  // namespace vb::platform

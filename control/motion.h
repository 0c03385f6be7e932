// Motion: a busy band travelling across the bar for work of unknown length,
// and a fill that glides to a new position. One window timer per canvas
// drives both, running only while something moves.
#pragma once

#include <cstdint>

namespace vb::control {

struct BarControl;

// Time between frames; Windows rounds timers to about 16 ms anyway.
constexpr unsigned kFrameMs = 20;
constexpr std::uintptr_t kMotionTimer = 1;
constexpr std::uint32_t kDefaultBusyPeriodMs = 1500;

// What a bar's motion is doing; part of the record.
struct Motion {
    bool busy = false;
    std::uint32_t busyPeriodMs = kDefaultBusyPeriodMs;
    std::uint32_t busyStart = 0;  // tickCount when the band set out
    std::uint32_t glideMs = 0;    // 0: positions change at once
    bool gliding = false;
    std::uint32_t glideStart = 0;
    double glideFrom = 0.0;  // positions, as the paint clips them
    double glideTo = 0.0;
    double shown = 0.0;  // the position the latest glide frame showed
    bool timerRunning = false;
};

// The band of a busy bar `width` wide, `elapsedMs` after it set out: its
// left column and width. It enters at the left and has left at the right
// once a period has passed, then starts again.
struct Band {
    int left = 0;
    int width = 0;
};
Band BusyBand(int width, std::uint32_t periodMs, std::uint32_t elapsedMs);

// How far a glide has come (0 to 1) after `fraction` of its time: an
// ease-out, fast at first and settling gently.
double GlideEase(double fraction);

// Starts or ends the busy band (1: done). Ending shows the bar at its
// position exactly as a bar that was never busy.
int SetBusy(BarControl* control, bool busy, std::uint32_t periodMs);
// Sets the glide time for later position changes; 0 ends a glide under way
// at its target.
int SetGlide(BarControl* control, std::uint32_t durationMs);
// One frame, on the motion timer.
void MotionTick(BarControl* control);
// Stops the timer of a bar that goes away.
void StopMotion(BarControl* control);

// For the paint: the frame at a new or repeated position while the bar is
// busy or gliding, painted here; false leaves the paint to the still bar.
bool PaintMotionFrame(BarControl* control, std::int32_t previousPosition);

}  // namespace vb::control

#include "control/motion.h"

#include <algorithm>

#include "control/bar_control.h"
#include "control/bar_paint.h"
#include "platform/platform.h"

namespace vb::control {

namespace {

bool ensureTimer(BarControl* c) {
    Motion& m = c->Animation;
    if (!m.timerRunning) m.timerRunning = platform::setTimer(c->Canvas, kMotionTimer, kFrameMs);
    return m.timerRunning;
}

// An idle bar keeps no timer: it costs nothing between calls.
void stopTimerIfIdle(BarControl* c) {
    Motion& m = c->Animation;
    if (m.busy || m.gliding || !m.timerRunning) return;
    platform::killTimer(c->Canvas, kMotionTimer);
    m.timerRunning = false;
}

void paintBusyFrame(BarControl* c, std::uint32_t now) {
    const Motion& m = c->Animation;
    Band band = BusyBand(c->Width, m.busyPeriodMs, now - m.busyStart);
    PaintBandFrame(c, band.left, band.width);
}

// Ends a glide where it was going; the bar then shows exactly what a bar
// that never glided shows there.
void arrive(BarControl* c) {
    c->Animation.gliding = false;
    PaintFrameAt(c, ClippedPosition(c, c->Position));
}

}  // namespace

Band BusyBand(int width, std::uint32_t periodMs, std::uint32_t elapsedMs) {
    Band band;
    if (width < 1 || periodMs == 0) return band;
    band.width = std::max(1, width / 4);
    long long travel = static_cast<long long>(width) + band.width;
    band.left = static_cast<int>(travel * (elapsedMs % periodMs) / periodMs) - band.width;
    return band;
}

double GlideEase(double fraction) {
    double rest = 1.0 - std::clamp(fraction, 0.0, 1.0);
    return 1.0 - rest * rest * rest;
}

int SetBusy(BarControl* c, bool busy, std::uint32_t periodMs) {
    Motion& m = c->Animation;
    if (!busy) {
        if (!m.busy) return 1;
        m.busy = false;
        m.gliding = false;
        arrive(c);
        stopTimerIfIdle(c);
        platform::raiseAccessEvent(c->Canvas, platform::AccessEvent::ValueChange);
        return 1;
    }
    bool was = m.busy;
    if (!ensureTimer(c)) return 0;
    std::uint32_t now = platform::tickCount();
    if (!was || periodMs != m.busyPeriodMs) m.busyStart = now;
    m.busy = true;
    m.busyPeriodMs = periodMs;
    m.gliding = false;
    paintBusyFrame(c, now);
    if (!was) platform::raiseAccessEvent(c->Canvas, platform::AccessEvent::ValueChange);
    return 1;
}

int SetGlide(BarControl* c, std::uint32_t durationMs) {
    Motion& m = c->Animation;
    m.glideMs = durationMs;
    if (durationMs == 0 && m.gliding) {
        if (m.busy)
            m.gliding = false;
        else
            arrive(c);
        stopTimerIfIdle(c);
    }
    return 1;
}

void MotionTick(BarControl* c) {
    Motion& m = c->Animation;
    std::uint32_t now = platform::tickCount();
    if (m.busy) {
        paintBusyFrame(c, now);
    } else if (m.gliding) {
        std::uint32_t elapsed = now - m.glideStart;
        if (elapsed >= m.glideMs) {
            arrive(c);
        } else {
            double eased = GlideEase(static_cast<double>(elapsed) / m.glideMs);
            m.shown = m.glideFrom + (m.glideTo - m.glideFrom) * eased;
            PaintFrameAt(c, m.shown);
        }
    }
    stopTimerIfIdle(c);
}

void StopMotion(BarControl* c) {
    Motion& m = c->Animation;
    m.busy = m.gliding = false;
    stopTimerIfIdle(c);
}

bool PaintMotionFrame(BarControl* c, std::int32_t previousPosition) {
    Motion& m = c->Animation;
    if (m.busy) {
        paintBusyFrame(c, platform::tickCount());
        return true;
    }
    if (m.glideMs > 0 && c->Position != previousPosition) {
        double from = m.gliding ? m.shown : ClippedPosition(c, previousPosition);
        double to = ClippedPosition(c, c->Position);
        if (from != to && ensureTimer(c)) {
            m.gliding = true;
            m.glideStart = platform::tickCount();
            m.glideFrom = m.shown = from;
            m.glideTo = to;
            PaintFrameAt(c, from);
            return true;
        }
        m.gliding = false;
        stopTimerIfIdle(c);
        return false;
    }
    if (m.gliding) {
        PaintFrameAt(c, m.shown);
        return true;
    }
    return false;
}

}  // namespace vb::control

// Work that must wait until no event callback is running: a callback may
// destroy the very bar whose message is being handled.
#pragma once

#include <functional>

namespace vb::events {

class DispatchScope {
public:
    DispatchScope();
    ~DispatchScope();  // the outermost scope runs what was deferred
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
};

// Runs now when no callback is running, otherwise when the last one returns.
void RunWhenIdle(std::function<void()> work);

}  // namespace vb::events

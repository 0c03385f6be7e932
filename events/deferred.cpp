#include "events/deferred.h"

#include <utility>
#include <vector>

namespace vb::events {

namespace {
int depth = 0;
std::vector<std::function<void()>>& pending() {
    static auto* work = new std::vector<std::function<void()>>;
    return *work;
}
}  // namespace

DispatchScope::DispatchScope() { ++depth; }

DispatchScope::~DispatchScope() {
    if (--depth > 0) return;
    // Work may defer more work; keep going until nothing is left. A list
    // that cannot even be made (out of memory) holds nothing to run.
    try {
        while (!pending().empty()) {
            auto work = std::move(pending());
            pending().clear();
            ++depth;
            for (auto& item : work) item();
            --depth;
        }
    } catch (...) {}
}

void RunWhenIdle(std::function<void()> work) {
    if (depth > 0)
        pending().push_back(std::move(work));
    else
        work();
}

}  // namespace vb::events

// Tooltips of the stand-in: one tooltip window per thread holding tools.
#include <map>

#include "platform/sim/sim.h"
#include "platform/sim/state.h"

namespace vb::sim::detail {
namespace {
struct Tool {
    std::uintptr_t parent;
    std::string text;
};
std::map<std::uintptr_t, std::map<std::uintptr_t, Tool>>& tools() {
    static auto* byTooltip = new std::map<std::uintptr_t, std::map<std::uintptr_t, Tool>>;
    return *byTooltip;
}
}  // namespace
}  // namespace vb::sim::detail

namespace vb::platform {

using namespace vb::sim::detail;

namespace {
thread_local std::uintptr_t threadTooltip = 0;
}  // namespace

Window threadTooltipWindow() {
    std::uintptr_t& tooltip = threadTooltip;
    if (!find(tooltip)) {
        Window w = vb::sim::createTopLevel(Rect{0, 0, 0, 0}, 0xE1FFFF, nullptr);
        tooltip = toId(w);
    }
    return toHandle(tooltip);
}

bool replaceTooltipTool(Window tooltip, Window parent, Window tool, const char* text) {
    if (!find(tooltip) || !find(tool)) return false;
    auto& list = tools()[toId(tooltip)];
    list.erase(toId(tool));  // TTM_DELTOOL, then TTM_ADDTOOL
    list[toId(tool)] = Tool{toId(parent), text ? text : ""};
    return true;
}

void deleteTooltipTool(Window parent, Window tool) {
    auto it = tools().find(threadTooltip);
    if (it == tools().end()) return;
    auto found = it->second.find(toId(tool));
    if (found != it->second.end() && found->second.parent == toId(parent)) it->second.erase(found);
}

}  // namespace vb::platform

namespace vb::sim {

using namespace vb::sim::detail;

int tooltipToolCount(Window tooltip) {
    auto it = tools().find(toId(tooltip));
    return it == tools().end() ? 0 : static_cast<int>(it->second.size());
}

}  // namespace vb::sim

namespace vb::platform::driver {

using namespace vb::sim;
using namespace vb::sim::detail;

std::optional<std::string> tooltipText(Window tool) {
    for (auto& [tooltip, list] : tools()) {
        if (!find(tooltip)) continue;
        auto it = list.find(toId(tool));
        if (it != list.end()) return it->second.text;
    }
    return std::nullopt;
}

}  // namespace vb::platform::driver

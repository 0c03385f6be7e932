#include "control/colour_objects.h"

#include <map>
#include <memory>

namespace vb::control {

namespace {

// Handles are small distinct numbers rather than addresses, so that they
// survive the trip through a 32-bit integer in a 64-bit process.
constexpr std::int32_t kFirstHandle = 0x00C01000;
constexpr std::int32_t kHandleStep = 16;

// Kept until the process ends, as colour objects are never freed.
std::map<std::int32_t, std::unique_ptr<ColorObject>>& registry() {
    static auto* objects = new std::map<std::int32_t, std::unique_ptr<ColorObject>>;
    return *objects;
}

}  // namespace

std::int32_t RegisterColorObject(std::vector<render::ColorStop> stops) {
    static std::int32_t next = kFirstHandle;
    auto object = std::make_unique<ColorObject>();
    object->stops = std::move(stops);
    std::int32_t handle = next;
    registry()[handle] = std::move(object);
    next += kHandleStep;
    return handle;
}

bool IsColorObject(std::int32_t handle) { return registry().count(handle) != 0; }

const ColorObject* FindColorObject(std::int32_t handle) {
    auto it = registry().find(handle);
    return it == registry().end() ? nullptr : it->second.get();
}

}  // namespace vb::control

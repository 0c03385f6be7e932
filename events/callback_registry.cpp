#include "events/callback_registry.h"

#include <string>
#include <unordered_map>

namespace vb::events {

namespace {

struct Key {
    lua_State* state;
    std::string name;
    bool operator==(const Key&) const = default;
};

// A key to look up with, made without copying the name.
struct KeyView {
    lua_State* state;
    std::string_view name;
};

// Transparent: dispatch looks up by view and builds no string per event.
struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(const KeyView& k) const {
        return std::hash<std::string_view>()(k.name) ^ (std::hash<const void*>()(k.state) << 1);
    }
    std::size_t operator()(const Key& k) const { return (*this)(KeyView{k.state, k.name}); }
};

struct KeyEqual {
    using is_transparent = void;
    bool operator()(const KeyView& a, const Key& b) const { return a.state == b.state && a.name == b.name; }
    bool operator()(const Key& a, const KeyView& b) const { return b.state == a.state && b.name == a.name; }
    bool operator()(const Key& a, const Key& b) const { return a == b; }
};

using Registry = std::unordered_map<Key, int, KeyHash, KeyEqual>;

Registry& registry() {
    static auto* callbacks = [] {
        auto* map = new Registry;
        map->reserve(512);
        return map;
    }();
    return *callbacks;
}

}  // namespace

int LookupCallback(lua_State* L, std::string_view name) {
    auto it = registry().find(KeyView{L, name});
    return it == registry().end() ? 0 : it->second;
}

void StoreCallback(lua_State* L, std::string_view name, int ref) {
    RemoveCallbackEntry(L, name);
    registry()[Key{L, std::string(name)}] = ref;
}

bool RemoveCallbackEntry(lua_State* L, std::string_view name) {
    auto it = registry().find(KeyView{L, name});
    if (it == registry().end()) return false;
    int ref = it->second;
    registry().erase(it);
    if (ref != 0) luaL_unref(L, LUA_REGISTRYINDEX, ref);
    return true;
}

void ForgetCallbacksOf(lua_State* L) {
    auto& map = registry();
    for (auto it = map.begin(); it != map.end();) {
        if (it->first.state == L)
            it = map.erase(it);
        else
            ++it;
    }
}

}  // namespace vb::events

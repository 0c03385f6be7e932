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

struct KeyHash {
    std::size_t operator()(const Key& k) const {
        return std::hash<std::string>()(k.name) ^ (std::hash<const void*>()(k.state) << 1);
    }
};

std::unordered_map<Key, int, KeyHash>& registry() {
    static auto* callbacks = [] {
        auto* map = new std::unordered_map<Key, int, KeyHash>;
        map->reserve(512);
        return map;
    }();
    return *callbacks;
}

}  // namespace

int LookupCallback(lua_State* L, std::string_view name) {
    auto it = registry().find(Key{L, std::string(name)});
    return it == registry().end() ? 0 : it->second;
}

void StoreCallback(lua_State* L, std::string_view name, int ref) {
    RemoveCallbackEntry(L, name);
    registry()[Key{L, std::string(name)}] = ref;
}

bool RemoveCallbackEntry(lua_State* L, std::string_view name) {
    auto it = registry().find(Key{L, std::string(name)});
    if (it == registry().end()) return false;
    int ref = it->second;
    registry().erase(it);
    if (ref != 0) luaL_unref(L, LUA_REGISTRYINDEX, ref);
    return true;
}

void ForgetCallbacksOf(lua_State* L) {
    auto& map = registry();
    for (auto it = map.begin(); it != map.end();) {
        if (it->first.state == L) it = map.erase(it);
        else ++it;
    }
}

}  // namespace vb::events

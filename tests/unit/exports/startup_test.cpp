// Loading the plug-in prepares nothing that is unsafe under the system
// loader's lock; the platform is prepared at the first registration, once,
// whatever states register afterwards.
#include <dlfcn.h>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "platform/sim/sim.h"

namespace {

lua_State* hostState() {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    lua_newtable(L);
    lua_setglobal(L, "_tblErrorMessages");
    return L;
}

TEST(Startup, PlatformPreparedOnceAtFirstRegistration) {
    ASSERT_EQ(vb::sim::platformStartups(), 0);
    void* module = dlopen(VELUMBAR_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    EXPECT_EQ(vb::sim::platformStartups(), 0) << "loading alone prepares nothing";

    auto name = reinterpret_cast<int (*)(char*, int*)>(dlsym(module, "irPlg_GetPluginName"));
    auto registerActions =
        reinterpret_cast<int (*)(lua_State*)>(dlsym(module, "irPlg_Action_RegisterActions"));
    ASSERT_TRUE(name && registerActions);
    int size = 0;
    EXPECT_EQ(name(nullptr, &size), -1);
    EXPECT_EQ(vb::sim::platformStartups(), 0) << "identity exports need no preparation";

    lua_State* first = hostState();
    lua_State* second = hostState();
    EXPECT_EQ(registerActions(first), 1);
    EXPECT_EQ(vb::sim::platformStartups(), 1);
    EXPECT_EQ(registerActions(first), 1);
    EXPECT_EQ(registerActions(second), 1);
    EXPECT_EQ(vb::sim::platformStartups(), 1) << "later registrations prepare nothing again";
    lua_close(first);
    lua_close(second);
}

}  // namespace

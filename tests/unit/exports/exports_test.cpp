// The exports as a host sees them: loaded by file, called by name.
#include <dlfcn.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>
#include <lua.hpp>

namespace {

using TextExport = int (*)(char*, int*);

class Exports : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module_ = dlopen(VELUMBAR_MODULE, RTLD_NOW | RTLD_LOCAL); }
    void SetUp() override { ASSERT_NE(module_, nullptr) << dlerror(); }
    template <class F>
    F get(const char* name) {
        return reinterpret_cast<F>(dlsym(module_, name));
    }
    std::string readText(const char* name) {
        auto f = get<TextExport>(name);
        int size = 0;
        EXPECT_EQ(f(nullptr, &size), -1);
        std::string buffer(static_cast<std::size_t>(size), 'x');
        int length = f(buffer.data(), &size);
        EXPECT_EQ(length, size - 1);
        EXPECT_EQ(buffer[static_cast<std::size_t>(length)], '\0');
        return buffer.substr(0, static_cast<std::size_t>(length));
    }
    static void* module_;
};

void* Exports::module_ = nullptr;

TEST_F(Exports, AllTenExportsArePresentUnderTheirNames) {
    for (const char* name :
         {"irPlg_GetPluginName", "irPlg_GetAuthorInfo", "irPlg_GetPluginVersion", "irPlg_GetLuaVersion",
          "irPlg_GetPluginActionXML", "irPlg_GetSDKVersion", "irPlg_OnProjectBuild",
          "irPlg_Action_RegisterActions", "irPlg_ShowHelpForPlugin", "irPlg_ShowHelpForAction"})
        EXPECT_NE(dlsym(module_, name), nullptr) << name;
}

TEST_F(Exports, VersionSizeProtocol) {
    auto version = get<TextExport>("irPlg_GetPluginVersion");
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);

    int size = 0;
    EXPECT_EQ(version(buffer, &size), -1);
    EXPECT_EQ(size, 8);
    EXPECT_EQ(buffer[0], '#') << "nothing is written when the buffer is too small";

    size = 7;
    EXPECT_EQ(version(buffer, &size), -1);
    EXPECT_EQ(size, 8);
    EXPECT_EQ(buffer[0], '#');

    size = 8;
    EXPECT_EQ(version(buffer, &size), 7);
    EXPECT_EQ(size, 8) << "the size is left as it was on success";
    EXPECT_STREQ(buffer, "2.1.0.0");
    EXPECT_EQ(buffer[8], '#') << "only the needed bytes are written";

    size = 16;
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(version(buffer, &size), 7);
    EXPECT_EQ(size, 16);
}

TEST_F(Exports, IdentityTexts) {
    EXPECT_EQ(readText("irPlg_GetPluginName"), "Velumbar");
    EXPECT_EQ(readText("irPlg_GetLuaVersion"), "Lua 5.1");
    std::string author = readText("irPlg_GetAuthorInfo");
    EXPECT_EQ(author.rfind("Velumbar Action Plugin\r\n", 0), 0u);
    int lines = 1;
    for (std::size_t at = author.find("\r\n"); at != std::string::npos; at = author.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 4);
    EXPECT_NE(author.substr(author.size() - 2), "\r\n");
    EXPECT_EQ(author.find('\n'), author.find("\r\n") + 1) << "lines end in CR LF";
}

TEST_F(Exports, NumbersAndProjectBuild) {
    EXPECT_EQ(get<int (*)()>("irPlg_GetSDKVersion")(), 2);
    auto build = get<int (*)()>("irPlg_OnProjectBuild");
    EXPECT_EQ(build(), 1);
    EXPECT_EQ(build(), 1);
}

TEST_F(Exports, RegistrationLeavesTheStackAndReplacesTheTable) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    lua_newtable(L);
    lua_setglobal(L, "_tblErrorMessages");
    auto registerActions = get<int (*)(lua_State*)>("irPlg_Action_RegisterActions");
    lua_pushstring(L, "caller's value");
    EXPECT_EQ(registerActions(L), 1);
    EXPECT_EQ(lua_gettop(L), 1);
    lua_getglobal(L, "Velumbar");
    const void* first = lua_topointer(L, -1);
    lua_getfield(L, -1, "CreateEx");
    EXPECT_EQ(lua_type(L, -1), LUA_TFUNCTION) << "the class script ran";
    lua_pop(L, 2);
    EXPECT_EQ(registerActions(L), 1);
    lua_getglobal(L, "Velumbar");
    EXPECT_NE(lua_topointer(L, -1), first) << "a second registration builds a new table";
    lua_getfield(L, -1, "SetText");
    EXPECT_EQ(lua_type(L, -1), LUA_TFUNCTION);
    lua_getfield(L, -2, "CreateEx");
    EXPECT_EQ(lua_type(L, -1), LUA_TNIL) << "the class script runs once per state";
    lua_close(L);
}

TEST_F(Exports, RegistrationWithoutMessageTableRaises) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    auto registerActions = get<int (*)(lua_State*)>("irPlg_Action_RegisterActions");
    // Called in protected mode, as the host would see the Lua error.
    lua_pushlightuserdata(L, reinterpret_cast<void*>(registerActions));
    lua_pushcclosure(
        L,
        [](lua_State* S) {
            auto f = reinterpret_cast<int (*)(lua_State*)>(lua_touserdata(S, lua_upvalueindex(1)));
            return f(S) - 1;
        },
        1);
    EXPECT_NE(lua_pcall(L, 0, 0, 0), 0);
    lua_close(L);
}

}  // namespace

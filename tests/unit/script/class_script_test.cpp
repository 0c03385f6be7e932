// The class script in a plain Lua state, with a stand-in Velumbar table
// whose functions record what they were called with.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include <lua.hpp>

#include "script/class_script.h"

namespace {

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every function records {name, n = argument count, ...}; Create answers the
// global CreateAnswer, GetRange answers two values.
const char* const kFakePlugin = R"(
calls = {}
CreateAnswer = true
local names = {"Create", "AllocColor", "SetGradientColors", "SetSolidColor",
  "SetCurrentPosition", "GetCurrentPosition", "SetText", "GetText", "SetFont",
  "SetRange", "GetRange", "SetIcon", "SetTooltip", "SetCursor", "SetUseGlossy",
  "GetUseGlossy", "SetCallback", "RemoveCallback", "LoadImage", "FreeImage",
  "CountIconsInFile"}
function MakeFake(tag)
  local t = {}
  for _, name in ipairs(names) do
    t[name] = function(...)
      calls[#calls + 1] = {name = name, tag = tag, n = select("#", ...), ...}
      if name == "Create" then return CreateAnswer end
      if name == "GetRange" then return 0, 100 end
      return name
    end
  end
  return t
end
Velumbar = MakeFake("first")
)";

class ClassScript : public ::testing::Test {
protected:
    void SetUp() override {
        L = luaL_newstate();
        luaL_openlibs(L);
        ASSERT_EQ(luaL_dostring(L, kFakePlugin), 0) << lua_tostring(L, -1);
        source = readFile(VELUMBAR_OOP_LUA);
        ASSERT_FALSE(source.empty());
    }
    void TearDown() override { lua_close(L); }

    void runScript() {
        ASSERT_EQ(luaL_loadbuffer(L, source.data(), source.size(), "Velumbar::OOP.class"), 0);
        ASSERT_EQ(lua_pcall(L, 0, 0, 0), 0) << lua_tostring(L, -1);
    }

    // Runs code as a chunk named "caller"; answers its error text, or "" when
    // it ran through.
    std::string run(const std::string& code) {
        if (luaL_loadbuffer(L, code.data(), code.size(), "=caller") != 0 || lua_pcall(L, 0, 0, 0) != 0) {
            std::string msg = lua_isstring(L, -1) ? lua_tostring(L, -1) : "?";
            lua_pop(L, 1);
            return msg;
        }
        return "";
    }

    std::string eval(const std::string& expr) {
        const std::string code = "return tostring(" + expr + ")";
        if (luaL_dostring(L, code.c_str()) != 0) {
            std::string msg = lua_tostring(L, -1);
            lua_pop(L, 1);
            return "error: " + msg;
        }
        std::string v = lua_tostring(L, -1);
        lua_pop(L, 1);
        return v;
    }

    // The last recorded call as "name n: a, b, ...".
    std::string lastCall() {
        return eval(R"((function()
            local c = calls[#calls]
            if not c then return "none" end
            local parts = {}
            for i = 1, c.n do parts[#parts + 1] = tostring(c[i]) end
            return c.name .. " " .. c.n .. ": " .. table.concat(parts, ", ")
        end)())");
    }

    lua_State* L = nullptr;
    std::string source;
};

TEST_F(ClassScript, DefinesTheClassTable) {
    runScript();
    EXPECT_EQ(eval("VelumbarOOP.Initialized"), "true");
    EXPECT_EQ(eval("VelumbarOOP.PX == Velumbar"), "true");
    EXPECT_EQ(eval("VelumbarOOP.SMT == setmetatable"), "true");
    EXPECT_EQ(eval("type(Velumbar.CreateEx)"), "function");
    const char* const methods[] = {
        "AllocColor",         "SetGradientColors", "SetSolidColor", "SetCurrentPosition",
        "GetCurrentPosition", "SetText",           "GetText",       "SetFont",
        "SetRange",           "GetRange",          "LoadImage",     "FreeImage",
        "CountIconsInFile",   "SetIcon",           "SetTooltip",    "SetCursor",
        "SetUseGlossy",       "GetUseGlossy",      "SetCallback",   "RemoveCallback"};
    for (const char* m : methods)
        EXPECT_EQ(eval(std::string("type(VelumbarOOP.") + m + ")"), "function") << m;
}

TEST_F(ClassScript, CreateExNeedsExactlyTrue) {
    runScript();
    EXPECT_EQ(run("o = Velumbar.CreateEx('P1', nil)"), "");
    EXPECT_EQ(eval("o.ObjectName"), "P1");
    EXPECT_EQ(eval("o.Flags"), "nil");
    EXPECT_EQ(lastCall(), "Create 2: P1, nil");
    EXPECT_EQ(eval("getmetatable(o).__index == VelumbarOOP"), "true");
    EXPECT_EQ(run("flags = {}; o2 = Velumbar.CreateEx('P1', flags)"), "");
    EXPECT_EQ(eval("o2.Flags == flags and getmetatable(o2) ~= getmetatable(o)"), "true");

    for (const char* answer : {"false", "1", "'true'", "nil"}) {
        EXPECT_EQ(run(std::string("CreateAnswer = ") + answer + "; r = Velumbar.CreateEx('P1')"), "");
        EXPECT_EQ(eval("r == nil"), "true") << answer;
        EXPECT_EQ(eval("r == false"), "false") << answer;
    }
}

TEST_F(ClassScript, TypeErrorBlamesTheCallersLine) {
    runScript();
    EXPECT_EQ(run("local o = Velumbar.CreateEx('P1')\n\no:SetText(5)"),
              "caller:3: Argument #1 must be of type 'string'! Got 'number'");
    EXPECT_EQ(lastCall(), "Create 2: P1, nil");  // nothing reached SetText
}

TEST_F(ClassScript, EveryTypeCheckAndItsMessage) {
    runScript();
    ASSERT_EQ(run("o = Velumbar.CreateEx('P1')"), "");
    struct Case {
        const char* call;
        const char* message;
    };
    const Case cases[] = {
        {"SetGradientColors('x')", "Argument #1 must be of type 'number'! Got 'string'"},
        {"SetSolidColor()", "Argument #1 must be of type 'number'! Got 'nil'"},
        {"SetCurrentPosition({})", "Argument #1 must be of type 'number'! Got 'table'"},
        {"SetText(nil)", "Argument #1 must be of type 'string'! Got 'nil'"},
        {"SetFont(1, 2, 3)", "Argument #1 must be of type 'string'! Got 'number'"},
        {"SetFont('A', '12', 3)", "Argument #2 must be of type 'number'! Got 'string'"},
        {"SetFont('A', 12)", "Argument #3 must be of type 'number'! Got 'nil'"},
        {"SetFont('A', 12, 3, 'b')", "Argument #4 must be of type 'number' or 'nil'! Got 'string'"},
        {"SetFont('A', 12, 3, nil, true)", "Argument #5 must be of type 'number' or 'nil'! Got 'boolean'"},
        {"SetRange('0', 1)", "Argument #1 must be of type 'number'! Got 'string'"},
        {"SetRange(0)", "Argument #2 must be of type 'number'! Got 'nil'"},
        {"LoadImage('1', 'f')", "Argument #1 must be of type 'number'! Got 'string'"},
        {"LoadImage(1, 2)", "Argument #2 must be of type 'string'! Got 'number'"},
        {"LoadImage(1, 'f', 'x')", "Argument #3 must be of type 'number' or 'nil'! Got 'string'"},
        {"FreeImage('h')", "Argument #1 must be of type 'number'! Got 'string'"},
        {"CountIconsInFile(3)", "Argument #1 must be of type 'string'! Got 'number'"},
        {"SetIcon(1, '2')", "Argument #2 must be of type 'number'! Got 'string'"},
        {"SetIcon(nil, 2)", "Argument #1 must be of type 'number'! Got 'nil'"},
        {"SetTooltip(1)", "Argument #1 must be of type 'string'! Got 'number'"},
        {"SetCursor(false)", "Argument #1 must be of type 'number'! Got 'boolean'"},
        {"SetUseGlossy(1)", "Argument #1 must be of type 'boolean'! Got 'number'"},
        {"SetCallback('f')", "Argument #1 must be of type 'function'! Got 'string'"},
        {"AllocColor({}, 7)", "All arguments in AllocColor must be of type 'table'! Got Argument#2 'number'"},
        {"AllocColor('x')", "All arguments in AllocColor must be of type 'table'! Got Argument#1 'string'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(std::string("\no:") + c.call), std::string("caller:2: ") + c.message) << c.call;
    }
    EXPECT_EQ(lastCall(), "Create 2: P1, nil");
}

TEST_F(ClassScript, ForwardingRules) {
    runScript();
    ASSERT_EQ(run("o = Velumbar.CreateEx('P1')"), "");
    struct Case {
        const char* call;
        const char* recorded;
    };
    const Case cases[] = {
        // Forwards the first: the name and argument 1 only.
        {"SetText('a', 'b')", "SetText 2: P1, a"},
        {"SetSolidColor(255, 1)", "SetSolidColor 2: P1, 255"},
        {"SetUseGlossy(false)", "SetUseGlossy 2: P1, false"},
        // Forwards all: the name and every argument, extra ones included.
        {"SetRange(0, 10, 99)", "SetRange 4: P1, 0, 10, 99"},
        {"SetFont('Arial', 12, 255)", "SetFont 4: P1, Arial, 12, 255"},
        {"SetFont('Arial', 12, 255, 1, 0)", "SetFont 6: P1, Arial, 12, 255, 1, 0"},
        {"SetIcon(3, 1)", "SetIcon 3: P1, 3, 1"},
        // No name.
        {"LoadImage(1, 'f.ico')", "LoadImage 2: 1, f.ico"},
        {"LoadImage(1, 'f.ico', 2)", "LoadImage 3: 1, f.ico, 2"},
        {"FreeImage(7)", "FreeImage 1: 7"},
        {"CountIconsInFile('a.exe')", "CountIconsInFile 1: a.exe"},
        // The name alone.
        {"GetText(1, 2)", "GetText 1: P1"},
        {"GetCurrentPosition()", "GetCurrentPosition 1: P1"},
        {"GetUseGlossy()", "GetUseGlossy 1: P1"},
        {"RemoveCallback()", "RemoveCallback 1: P1"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(run(std::string("o:") + c.call), "") << c.call;
        EXPECT_EQ(lastCall(), c.recorded) << c.call;
    }
    EXPECT_EQ(eval("select('#', o:GetRange())"), "2");
    EXPECT_EQ(eval("o:SetText('x')"), "SetText");
}

TEST_F(ClassScript, AllocColorPassesTheTablesOn) {
    runScript();
    ASSERT_EQ(run("o = Velumbar.CreateEx('P1'); a, b = {}, {}"), "");
    ASSERT_EQ(run("o:AllocColor(a, b)"), "");
    EXPECT_EQ(eval("calls[#calls].n == 2 and calls[#calls][1] == a and calls[#calls][2] == b"), "true");
    ASSERT_EQ(run("o:AllocColor()"), "");
    EXPECT_EQ(lastCall(), "AllocColor 0: ");
    // A nil argument leaves a hole that the walk passes over.
    ASSERT_EQ(run("o:AllocColor(a, nil, b)"), "");
    EXPECT_EQ(eval("calls[#calls].n == 2 and calls[#calls][2] == b"), "true");
}

TEST_F(ClassScript, ObjectsKeepThePluginTheyWereMadeWith) {
    runScript();
    ASSERT_EQ(run("o = Velumbar.CreateEx('P1'); Velumbar = MakeFake('second'); o:SetText('t')"), "");
    EXPECT_EQ(eval("calls[#calls].tag"), "first");
}

TEST_F(ClassScript, SecondRunChangesNothing) {
    runScript();
    ASSERT_EQ(run("first = VelumbarOOP; Velumbar = MakeFake('second')"), "");
    runScript();
    EXPECT_EQ(eval("Velumbar.CreateEx"), "nil");
    EXPECT_EQ(eval("VelumbarOOP == first and VelumbarOOP.PX ~= Velumbar"), "true");
}

TEST_F(ClassScript, RunsAgainWhenInitializedIsFalse) {
    runScript();
    ASSERT_EQ(run("first = VelumbarOOP; first.Initialized = false; Velumbar = MakeFake('second')"), "");
    runScript();
    EXPECT_EQ(eval("type(Velumbar.CreateEx)"), "function");
    EXPECT_EQ(eval("VelumbarOOP ~= first and VelumbarOOP.PX == Velumbar"), "true");
    // A VelumbarOOP that is not a table is replaced too.
    ASSERT_EQ(run("VelumbarOOP = 5; Velumbar = MakeFake('third')"), "");
    runScript();
    EXPECT_EQ(eval("type(VelumbarOOP)"), "table");
}

// The packed copy carried in the library behaves as the source does.
TEST_F(ClassScript, EmbeddedScriptRunsFromTheLibrary) {
    const int top = lua_gettop(L);
    vb::script::runClassScript(L);
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_EQ(eval("type(Velumbar.CreateEx)"), "function");
    EXPECT_EQ(run("local o = Velumbar.CreateEx('P1')\no:SetText(5)"),
              "caller:2: Argument #1 must be of type 'string'! Got 'number'");
    ASSERT_EQ(run("Velumbar = MakeFake('second')"), "");
    vb::script::runClassScript(L);
    EXPECT_EQ(eval("Velumbar.CreateEx"), "nil");
}

}  // namespace

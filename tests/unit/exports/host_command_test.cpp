// The stand-in host's command line and exit status.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/unit/support/scratch_folder.h"

namespace {

// Each test's scripts and the host's error output live in its own folder.
class HostCommandLine : public ::testing::Test {
protected:
    std::string writeScript(const std::string& name, const std::string& text) {
        std::string path = scratch_.path(name);
        std::ofstream(path) << text;
        return path;
    }
    int runHost(const std::string& arguments, std::string* errors = nullptr);

    vb::testing::ScratchFolder scratch_;
};

int HostCommandLine::runHost(const std::string& arguments, std::string* errors) {
    std::string errorFile = scratch_.path("host-stderr.txt");
    std::string command = std::string(VELUMBAR_HOST) + " " + arguments + " 2>" + errorFile;
    int status = std::system(command.c_str());
    if (errors) {
        std::ifstream in(errorFile);
        errors->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(HostCommandLine, ScriptThatRunsToItsEndExitsZero) {
    std::string script = writeScript("ok.lua",
                                     "local a, b = ...\n"
                                     "assert(a == 'one' and b == 'two')\n"
                                     "assert(type(Velumbar.Create) == 'function')\n");
    EXPECT_EQ(runHost("--plugin " VELUMBAR_MODULE " " + script + " one two"), 0);
    EXPECT_EQ(runHost(script + " one two"), 0) << "the plug-in is found beside the host";
}

TEST_F(HostCommandLine, LuaErrorExitsOneWithTheMessage) {
    std::string script = writeScript("fails.lua", "error('the script broke')\n");
    std::string errors;
    EXPECT_EQ(runHost(script, &errors), 1);
    EXPECT_NE(errors.find("the script broke"), std::string::npos) << errors;
    std::string syntax = writeScript("syntax.lua", "this is not lua\n");
    EXPECT_EQ(runHost(syntax), 1);
}

TEST_F(HostCommandLine, UsageErrorsAndMissingPluginExitTwo) {
    std::string script = writeScript("ok2.lua", "\n");
    EXPECT_EQ(runHost(""), 2);
    EXPECT_EQ(runHost("--plugin"), 2);
    EXPECT_EQ(runHost("--bogus x " + script), 2);
    EXPECT_EQ(runHost("--plugin /nonexistent/Velumbar.lmd " + script), 2);
    EXPECT_EQ(runHost(scratch_.path("no-such-script.lua")), 2);
}

// Showing the page for trying a bar by hand needs real windows; the stand-in
// says so before running anything.
TEST_F(HostCommandLine, ShowNeedsTheWindowsHost) {
    std::string marker = scratch_.path("ran.txt");
    std::string script = writeScript("show.lua", "io.open([[" + marker + "]], 'w'):close()\n");
    std::string errors;
    EXPECT_EQ(runHost("--show " + script, &errors), 2);
    EXPECT_NE(errors.find("showing needs the Windows host"), std::string::npos) << errors;
    EXPECT_FALSE(std::ifstream(marker).good()) << "the script must not run";
    EXPECT_EQ(runHost("--out " + scratch_.path("out") + " --show " + script), 2);
}

}  // namespace

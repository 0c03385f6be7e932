// Starting a program on the stand-in system: found along PATH, given the
// argument text whole, run in the working folder, not waited for.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tests/unit/plugin/test_support.h"

namespace vb::platform {
namespace {

using plugin::test::PathPrefix;
using plugin::test::TempFolder;

class StartProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.path.empty());
        std::filesystem::create_directory(temp_ / "bin");
        std::filesystem::create_directory(temp_ / "work");
        plugin::test::writeRecordingProgram(temp_ / "bin/viewer", record_);
    }

    std::string waitForRecord() {
        return plugin::test::waitForFile(record_) ? plugin::test::readFile(record_) : "(nothing started)";
    }

    TempFolder temp_;
    std::string record_ = temp_ / "record.txt";
};

TEST_F(StartProgram, FindsTheProgramAlongThePath) {
    PathPrefix path(temp_ / "bin");
    std::string work = temp_ / "work";
    EXPECT_TRUE(startProgram("viewer", "a b  \"c\"", work.c_str()));
    EXPECT_EQ(waitForRecord(), "1\na b  \"c\"\n" + work + "\n");
}

TEST_F(StartProgram, LaterPathEntriesAreSearchedToo) {
    PathPrefix path(temp_ / "empty:" + (temp_ / "bin"), true);
    std::string work = temp_ / "work";
    EXPECT_TRUE(startProgram("viewer", "x", work.c_str()));
    EXPECT_EQ(waitForRecord(), "1\nx\n" + work + "\n");
}

TEST_F(StartProgram, EmptyArgumentTextPassesNoArgument) {
    PathPrefix path(temp_ / "bin");
    std::string work = temp_ / "work";
    EXPECT_TRUE(startProgram("viewer", "", work.c_str()));
    EXPECT_EQ(waitForRecord(), "0\n" + work + "\n");
}

TEST_F(StartProgram, NoWorkingFolderKeepsOurs) {
    PathPrefix path(temp_ / "bin");
    EXPECT_TRUE(startProgram("viewer", "x", ""));
    EXPECT_EQ(waitForRecord(),
              "1\nx\n" + std::filesystem::canonical(std::filesystem::current_path()).string() + "\n");
}

TEST_F(StartProgram, RefusesWhatCannotStart) {
    PathPrefix path(temp_ / "bin", true);
    std::string work = temp_ / "work";
    std::string missing = temp_ / "no such folder";
    EXPECT_FALSE(startProgram("absent", "x", work.c_str()));
    EXPECT_FALSE(startProgram("viewer", "x", missing.c_str()));
    EXPECT_FALSE(startProgram("", "x", work.c_str()));
    EXPECT_FALSE(startProgram(nullptr, "x", work.c_str()));

    // A file that is not executable is not a program.
    plugin::test::writeFile(temp_ / "bin/plain", "#!/bin/sh\n");
    EXPECT_FALSE(startProgram("plain", "x", work.c_str()));
    // A folder of the program's name is not one either.
    std::filesystem::create_directory(temp_ / "bin/dir");
    EXPECT_FALSE(startProgram("dir", "x", work.c_str()));
    EXPECT_FALSE(std::filesystem::exists(record_));
}

TEST_F(StartProgram, AFileAsWorkingFolderIsRefused) {
    PathPrefix path(temp_ / "bin");
    std::string file = temp_ / "file";
    plugin::test::writeFile(file, "x");
    EXPECT_FALSE(startProgram("viewer", "x", file.c_str()));
}

TEST_F(StartProgram, ANameWithASlashIsTakenAsAPath) {
    PathPrefix path(temp_ / "nowhere", true);
    std::string program = temp_ / "bin/viewer";
    EXPECT_TRUE(startProgram(program.c_str(), "y", nullptr));
    EXPECT_EQ(waitForRecord(),
              "1\ny\n" + std::filesystem::canonical(std::filesystem::current_path()).string() + "\n");
}

TEST_F(StartProgram, LeavesNoChildOfOursBehind) {
    PathPrefix path(temp_ / "bin");
    std::string work = temp_ / "work";
    ASSERT_TRUE(startProgram("viewer", "x", work.c_str()));
    waitForRecord();
    // The viewer was handed to init; we have no child left to wait for.
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

}  // namespace
}  // namespace vb::platform

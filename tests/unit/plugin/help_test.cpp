// Help launching: the help file path, the topic names and the viewer started
// with them. A stand-in "hh.exe" placed first on PATH records what it got.
//
// On this system "\" is an ordinary character of a file name, so the help
// path "<folder>\Velumbar.chm" names a file "<last part of folder>\Velumbar.chm"
// beside the folder, and the viewer's working folder "<folder>\" is a folder
// whose name ends in "\". The tests create exactly those names.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "plugin/help.h"
#include "tests/unit/plugin/test_support.h"

namespace vb::plugin {
namespace {

using test::PathPrefix;
using test::TempFolder;

TEST(HelpPaths, HelpFileSitsInTheFolderAsGiven) {
    EXPECT_EQ(HelpFilePath("C:\\Apps\\Help"), "C:\\Apps\\Help\\Velumbar.chm");
    EXPECT_EQ(HelpFilePath("C:\\Apps\\Help\\"), "C:\\Apps\\Help\\\\Velumbar.chm");
    EXPECT_EQ(HelpFilePath(""), "\\Velumbar.chm");
}

TEST(HelpPaths, WorkingFolderKeepsItsLastSeparator) {
    EXPECT_EQ(FolderOfPath("C:\\Apps\\Help\\Velumbar.chm"), "C:\\Apps\\Help\\");
    EXPECT_EQ(FolderOfPath("C:/Apps/Help/Velumbar.chm"), "C:/Apps/Help/");
    EXPECT_EQ(FolderOfPath("C:/Apps\\Help/x"), "C:/Apps\\Help/");
    EXPECT_EQ(FolderOfPath("/tmp/a\\Velumbar.chm"), "/tmp/a\\");
    EXPECT_EQ(FolderOfPath("Velumbar.chm"), "");
}

TEST(HelpTopics, ActionNamesBecomeLowerCasePagesWithUnderscores) {
    EXPECT_EQ(HelpTopicName("Velumbar.SetText"), "velumbar_settext.htm");
    EXPECT_EQ(HelpTopicName("A.B"), "a_b.htm");
    EXPECT_EQ(HelpTopicName("A..B.c"), "a__b_c.htm");
    EXPECT_EQ(HelpTopicName(""), ".htm");
    EXPECT_EQ(HelpTopicName("Get_Range2"), "get_range2.htm");
}

TEST(HelpTopics, LowerCasingFollowsTheAnsiCodePage) {
    // Latin capitals of the upper half, but not the multiplication sign.
    EXPECT_EQ(LowerAnsi('\xC0'), '\xE0');
    EXPECT_EQ(LowerAnsi('\xC9'), '\xE9');
    EXPECT_EQ(LowerAnsi('\xDE'), '\xFE');
    EXPECT_EQ(LowerAnsi('\xD7'), '\xD7');
    EXPECT_EQ(LowerAnsi('\xDF'), '\xDF');  // sharp s has no capital here
    // The code page's own capitals below 0xC0.
    EXPECT_EQ(LowerAnsi('\x8A'), '\x9A');
    EXPECT_EQ(LowerAnsi('\x8C'), '\x9C');
    EXPECT_EQ(LowerAnsi('\x8E'), '\x9E');
    EXPECT_EQ(LowerAnsi('\x9F'), '\xFF');
    // Already small, and ASCII edges.
    EXPECT_EQ(LowerAnsi('\xE0'), '\xE0');
    EXPECT_EQ(LowerAnsi('@'), '@');
    EXPECT_EQ(LowerAnsi('['), '[');
    EXPECT_EQ(LowerAnsi('Z'), 'z');
    EXPECT_EQ(HelpTopicName("\xC4"
                            "B.\xD6"),
              "\xE4"
              "b_\xF6.htm");
}

// A help folder in a fresh temporary folder, with a stand-in viewer first
// on PATH that writes what it was given into `record`.
class HelpLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.path.empty());
        std::filesystem::create_directory(temp_ / "bin");
        test::writeRecordingProgram(temp_ / "bin/hh.exe", record_);
        path_ = std::make_unique<PathPrefix>(temp_ / "bin");
    }

    // Makes "<folder>\Velumbar.chm" and the working folder "<folder>\".
    void installHelp() {
        test::writeFile(helpFile_, "ITSF");
        std::filesystem::create_directory(folder_ + "\\");
    }

    // The argument count, the arguments and the working folder, one a line.
    std::string waitForRecord() {
        return test::waitForFile(record_) ? test::readFile(record_) : "(nothing started)";
    }

    TempFolder temp_;
    std::string record_ = temp_ / "record.txt";
    std::string folder_ = temp_ / "help";
    std::string helpFile_ = folder_ + "\\Velumbar.chm";
    std::unique_ptr<PathPrefix> path_;
};

TEST_F(HelpLaunch, PluginHelpOpensTheFileAtItsStartPage) {
    installHelp();
    EXPECT_EQ(ShowHelpForPlugin(folder_.c_str()), 1);
    EXPECT_EQ(waitForRecord(), "1\n" + helpFile_ + "\n" + folder_ + "\\\n");
}

TEST_F(HelpLaunch, ActionHelpOpensTheActionsTopic) {
    installHelp();
    EXPECT_EQ(ShowHelpForAction("Velumbar.SetText", folder_.c_str()), 1);
    EXPECT_EQ(waitForRecord(), "1\n" + helpFile_ + "::velumbar_settext.htm\n" + folder_ + "\\\n");
}

TEST_F(HelpLaunch, ArgumentTextWithSpacesStaysOneArgument) {
    std::string folder = temp_ / "my help";
    test::writeFile(folder + "\\Velumbar.chm", "ITSF");
    std::filesystem::create_directory(folder + "\\");
    EXPECT_EQ(ShowHelpForAction("Velumbar.Get Range", folder.c_str()), 1);
    EXPECT_EQ(waitForRecord(), "1\n" + folder + "\\Velumbar.chm::velumbar_get range.htm\n" + folder + "\\\n");
}

TEST_F(HelpLaunch, AFolderAtTheHelpPathStillStartsTheViewer) {
    std::filesystem::create_directory(helpFile_);
    std::filesystem::create_directory(folder_ + "\\");
    EXPECT_EQ(ShowHelpForPlugin(folder_.c_str()), 1);
    EXPECT_EQ(waitForRecord(), "1\n" + helpFile_ + "\n" + folder_ + "\\\n");
}

TEST_F(HelpLaunch, MissingHelpFileStartsNothing) {
    std::filesystem::create_directory(folder_);
    std::filesystem::create_directory(folder_ + "\\");
    test::writeFile(folder_ + "/Velumbar.chm", "ITSF");  // inside the folder: not the help path
    EXPECT_EQ(ShowHelpForPlugin(folder_.c_str()), 0);
    EXPECT_EQ(ShowHelpForAction("Velumbar.SetText", folder_.c_str()), 0);
    // Give a wrongly started viewer time to show itself.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(std::filesystem::exists(record_));
}

TEST_F(HelpLaunch, NoViewerOnThePathGivesZero) {
    installHelp();
    PathPrefix onlyEmpty(temp_ / "nowhere", true);
    EXPECT_EQ(ShowHelpForPlugin(folder_.c_str()), 0);
    EXPECT_EQ(ShowHelpForAction("Velumbar.SetText", folder_.c_str()), 0);
}

TEST_F(HelpLaunch, MissingNamesGiveZero) {
    installHelp();
    EXPECT_EQ(ShowHelpForPlugin(nullptr), 0);
    EXPECT_EQ(ShowHelpForAction(nullptr, folder_.c_str()), 0);
    EXPECT_EQ(ShowHelpForAction("Velumbar.SetText", nullptr), 0);
}

}  // namespace
}  // namespace vb::plugin

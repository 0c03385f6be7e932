// Help through the real process calls: the plug-in's help exports start
// "hh.exe" (our recording stand-in, placed where Windows keeps the viewer)
// with the help file and topic, in the help file's folder; a copy planted
// in the current folder never runs; a missing help file starts nothing.
//
//   help_probe PLUGIN SCRATCH      exit 0 when every check holds
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "host/plugin_loader.h"
#include "probe_checks.h"

namespace {

using probe::expect;
using probe::failures;

// The viewer runs on its own; its record appears when it has run. Waiting
// is bounded only so that a viewer that never starts ends the test.
bool waitForRecord(const std::string& path, std::string* commandLine, std::string* folder,
                   std::string* program) {
    for (int tries = 0; tries < 600; ++tries) {
        std::ifstream in(path);
        if (in && std::getline(in, *commandLine) && std::getline(in, *folder) && std::getline(in, *program))
            return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    probe::name = "help_probe";
    if (argc != 3) {
        std::fprintf(stderr, "usage: help_probe PLUGIN SCRATCH\n");
        return 2;
    }
    vb::host::LoadedPlugin plugin;
    std::string error;
    if (!vb::host::LoadPlugin(argv[1], &plugin, &error)) {
        std::fprintf(stderr, "help_probe: cannot load %s: %s\n", argv[1], error.c_str());
        return 2;
    }
    // Backslashes throughout, as the host gives its folders.
    char full[MAX_PATH] = "";
    GetFullPathNameA(argv[2], sizeof full, full, nullptr);
    std::string scratch = full;
    CreateDirectoryA(scratch.c_str(), nullptr);
    std::string helpFolder = scratch + "\\Help Files";
    CreateDirectoryA(helpFolder.c_str(), nullptr);
    std::ofstream(helpFolder + "\\Velumbar.chm") << "not really a help file";
    std::string record = scratch + "\\viewer.txt";
    DeleteFileA(record.c_str());
    SetEnvironmentVariableA("VELUMBAR_HH_RECORD", record.c_str());

    // The viewer where Windows keeps it, and a copy planted in the current
    // folder, which a search would find first.
    char windowsFolder[MAX_PATH] = "";
    GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    std::string viewer = std::string(windowsFolder) + "\\hh.exe";
    std::string planted = scratch + "\\Planted";
    CreateDirectoryA(planted.c_str(), nullptr);
    expect(CopyFileA(viewer.c_str(), (planted + "\\hh.exe").c_str(), FALSE) != 0,
           "no viewer to copy at " + viewer);
    SetCurrentDirectoryA(planted.c_str());

    // A topic: the help file, "::" and the action's topic page.
    expect(plugin.exports.ShowHelpForAction("Velumbar.SetText", helpFolder.c_str()) == 1,
           "ShowHelpForAction did not start the viewer");
    std::string commandLine, folder, program;
    expect(waitForRecord(record, &commandLine, &folder, &program), "the viewer never ran");
    expect(lstrcmpiA(program.c_str(), viewer.c_str()) == 0, "the viewer that ran was " + program);
    std::string file = helpFolder + "\\Velumbar.chm";
    expect(commandLine == "\"hh.exe\" " + file + "::velumbar_settext.htm",
           "command line was: " + commandLine);
    expect(lstrcmpiA(folder.c_str(), helpFolder.c_str()) == 0, "working folder was: " + folder);

    // The plug-in's own help: the file alone.
    DeleteFileA(record.c_str());
    expect(plugin.exports.ShowHelpForPlugin(helpFolder.c_str()) == 1,
           "ShowHelpForPlugin did not start the viewer");
    expect(waitForRecord(record, &commandLine, &folder, &program), "the viewer never ran for the plug-in");
    expect(lstrcmpiA(program.c_str(), viewer.c_str()) == 0, "the plug-in's viewer that ran was " + program);
    expect(commandLine == "\"hh.exe\" " + file, "plug-in command line was: " + commandLine);

    // No help file: nothing starts, the answer is 0.
    std::string empty = scratch + "\\No Help";
    CreateDirectoryA(empty.c_str(), nullptr);
    expect(plugin.exports.ShowHelpForPlugin(empty.c_str()) == 0, "a missing help file started something");
    expect(plugin.exports.ShowHelpForAction("Velumbar.Create", empty.c_str()) == 0,
           "a missing help file started something for an action");

    if (failures == 0) std::printf("help_probe: all checks hold\n");
    return failures == 0 ? 0 : 1;
}

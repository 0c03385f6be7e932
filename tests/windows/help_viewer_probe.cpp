// The help exports with the real viewer: the plug-in starts Wine's own
// hh.exe on the shipped Velumbar.chm, for the plug-in and for one action.
// This program lives in a folder without the recording stand-in, so the
// system's search finds the real one. Wine's viewer shows no page with
// the null driver and without its HTML engine, so what proves it read our
// file is what it built from it: its window has the title of the file's
// window definition, its contents tree and keyword list hold as many
// entries as the contents and index files we compiled, and it holds the
// file open. Its command line is read back from the process where the
// two share a bitness.
//
//   help_viewer_probe PLUGIN CHM HTML_FOLDER SCRATCH TITLE   exit 0 when every check holds
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "host/plugin_loader.h"
#include "probe_checks.h"

namespace {

using probe::expect;
using probe::failures;

struct OwnedHandle {
    HANDLE handle = nullptr;
    explicit OwnedHandle(HANDLE h) : handle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() {
        if (handle) CloseHandle(handle);
    }
};

std::set<DWORD> viewerProcesses() {
    std::set<DWORD> found;
    OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot.handle && Process32First(snapshot.handle, &entry); more;
         more = Process32Next(snapshot.handle, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "hh.exe") == 0) found.insert(entry.th32ProcessID);
    }
    return found;
}

// What the viewer built from the file, read from its windows.
struct ViewerState {
    std::string title;
    LRESULT contentsEntries = -1;
    LRESULT keywordEntries = -1;
};

struct WindowSearch {
    DWORD process = 0;
    HWND frame = nullptr;
    ViewerState state;
};

BOOL CALLBACK readChild(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    // The keyword list is the index tab's list view; the search tab's
    // stays empty until a search.
    if (lstrcmpA(name, WC_TREEVIEWA) == 0)
        search->state.contentsEntries = SendMessageA(window, TVM_GETCOUNT, 0, 0);
    else if (lstrcmpA(name, WC_LISTVIEWA) == 0)
        search->state.keywordEntries =
            (std::max)(search->state.keywordEntries, SendMessageA(window, LVM_GETITEMCOUNT, 0, 0));
    return TRUE;
}

BOOL CALLBACK findFrame(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (process != search->process || lstrcmpA(name, "HH Parent") != 0) return TRUE;
    search->frame = window;
    return FALSE;
}

// The viewer fills its panes one after another once its window appears:
// wait until both hold what is expected, or report what they held last.
// Bounded only so that a viewer that never shows ends the test.
bool waitForViewer(DWORD process, LRESULT contents, LRESULT keywords, ViewerState* state) {
    bool shown = false;
    for (int tries = 0; tries < 600; ++tries) {
        WindowSearch search;
        search.process = process;
        EnumWindows(findFrame, reinterpret_cast<LPARAM>(&search));
        if (search.frame) {
            char title[256] = "";
            GetWindowTextA(search.frame, title, sizeof title);
            search.state.title = title;
            EnumChildWindows(search.frame, readChild, reinterpret_cast<LPARAM>(&search));
            *state = search.state;
            shown = true;
            if (state->contentsEntries == contents && state->keywordEntries == keywords) break;
        }
        Sleep(50);
    }
    return shown;
}

DWORD waitForNewViewer(const std::set<DWORD>& before) {
    for (int tries = 0; tries < 600; ++tries) {
        for (DWORD process : viewerProcesses())
            if (!before.count(process)) return process;
        Sleep(50);
    }
    return 0;
}

// The command line the viewer process was given, from its process
// parameters; empty when it cannot be read from here.
std::string commandLineOf(HANDLE process) {
    BOOL ours = FALSE, theirs = FALSE;
    IsWow64Process(GetCurrentProcess(), &ours);
    IsWow64Process(process, &theirs);
    if (ours != theirs) return std::string();
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return std::string();
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return std::string();
    std::wstring wide(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, wide.data(), parameters.CommandLine.Length,
                           nullptr))
        return std::string();
    char narrow[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// Entries of a sitemap file (contents or index) as compiled: one <LI> each.
LRESULT sitemapEntries(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string all = text.str();
    LRESULT count = 0;
    for (std::size_t at = all.find("<LI>"); at != std::string::npos; at = all.find("<LI>", at + 4)) ++count;
    return count;
}

struct Expected {
    std::string file, commandLine, title;
    LRESULT contentsEntries, keywordEntries;
};

// One start of the viewer through an export: checks it, then ends it.
void checkViewer(const char* what, int started, const std::set<DWORD>& before, const Expected& expected) {
    expect(started == 1, std::string(what) + ": the export did not start the viewer");
    DWORD process = waitForNewViewer(before);
    if (!process) {
        expect(false, std::string(what) + ": no hh.exe process appeared");
        return;
    }
    OwnedHandle viewer(OpenProcess(
        PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process));
    ViewerState state;
    bool shown = waitForViewer(process, expected.contentsEntries, expected.keywordEntries, &state);
    expect(shown, std::string(what) + ": the viewer showed no window");
    if (shown) {
        expect(state.title == expected.title, std::string(what) + ": viewer title '" + state.title + "'");
        expect(state.contentsEntries == expected.contentsEntries,
               std::string(what) + ": contents tree holds " + std::to_string(state.contentsEntries) +
                   " entries, the contents file " + std::to_string(expected.contentsEntries));
        expect(state.keywordEntries == expected.keywordEntries,
               std::string(what) + ": keyword list holds " + std::to_string(state.keywordEntries) +
                   " entries, the index file " + std::to_string(expected.keywordEntries));
    }
    // The viewer reads the file through the help storage, which keeps it
    // open and shared for reading only.
    OwnedHandle exclusive(CreateFileA(expected.file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD openError = GetLastError();
    expect(!exclusive.handle && openError == ERROR_SHARING_VIOLATION,
           std::string(what) + ": the viewer does not hold the help file open");
    if (viewer.handle) {
        std::string commandLine = commandLineOf(viewer.handle);
        if (commandLine.empty())
            std::printf("help_viewer_probe: %s: the viewer's command line cannot be read from here\n", what);
        else
            expect(commandLine == expected.commandLine,
                   std::string(what) + ": viewer command line " + commandLine);
        TerminateProcess(viewer.handle, 0);
        WaitForSingleObject(viewer.handle, 10000);
    }
}

}  // namespace

int main(int argc, char** argv) {
    probe::name = "help_viewer_probe";
    if (argc != 6) {
        std::fprintf(stderr, "usage: help_viewer_probe PLUGIN CHM HTML_FOLDER SCRATCH TITLE\n");
        return 2;
    }
    vb::host::LoadedPlugin plugin;
    std::string error;
    if (!vb::host::LoadPlugin(argv[1], &plugin, &error)) {
        std::fprintf(stderr, "help_viewer_probe: cannot load %s: %s\n", argv[1], error.c_str());
        return 2;
    }
    // Backslashes throughout, as the host gives its folders.
    char full[MAX_PATH] = "";
    GetFullPathNameA(argv[4], sizeof full, full, nullptr);
    std::string scratch = full;
    CreateDirectoryA(scratch.c_str(), nullptr);
    std::string helpFolder = scratch + "\\Help Files";
    CreateDirectoryA(helpFolder.c_str(), nullptr);
    std::string file = helpFolder + "\\Velumbar.chm";
    if (!CopyFileA(argv[2], file.c_str(), FALSE)) {
        std::fprintf(stderr, "help_viewer_probe: cannot copy %s (build the help first)\n", argv[2]);
        return 2;
    }
    std::string html = argv[3];
    Expected expected{file, "\"hh.exe\" " + file, argv[5], sitemapEntries(html + "/Velumbar.hhc"),
                      sitemapEntries(html + "/Velumbar.hhk")};

    std::set<DWORD> before = viewerProcesses();
    int started = plugin.exports.ShowHelpForPlugin(helpFolder.c_str());
    checkViewer("plug-in help", started, before, expected);

    expected.commandLine = "\"hh.exe\" " + file + "::velumbar_settext.htm";
    before = viewerProcesses();
    started = plugin.exports.ShowHelpForAction("Velumbar.SetText", helpFolder.c_str());
    checkViewer("help for Velumbar.SetText", started, before, expected);

    if (failures == 0) std::printf("help_viewer_probe: all checks hold\n");
    return failures == 0 ? 0 : 1;
}

// Files and processes over KERNEL32 and SHELL32.
#include "platform/win32/win32.h"
// The headers below need <windows.h> first.
#include <objbase.h>
#include <shellapi.h>

#include <cstring>
#include <string>

namespace vb::platform {

using win32::UniqueFile;
using win32::UniqueProcess;

// Reads in chunks until the end: the size the file claims is not trusted
// to size the buffer.
bool readWholeFile(const char* path, std::vector<std::uint8_t>* out) {
    if (!path || !out) return false;
    UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool ok = true;
    try {
        out->clear();
        std::uint8_t chunk[65536];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
                ok = false;
                break;
            }
            if (got == 0) break;
            out->insert(out->end(), chunk, chunk + got);
        }
    } catch (...) {
        ok = false;
    }
    return ok;
}

bool pathExists(const char* path) {
    return path && *path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool isExistingFile(const char* path) {
    if (!path || !*path) return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// CreateProcessA first; when it cannot start the program, the shell.
namespace {

// A bare program name found in the Windows folder, as that folder's own
// path: a search would look in the current folder first, where anyone may
// have left a program of the same name. Empty when it is not there.
std::string inWindowsFolder(const char* program) {
    if (std::strpbrk(program, "\\/:")) return {};
    char folder[MAX_PATH] = "";
    UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return {};
    std::string path = std::string(folder) + "\\" + program;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    return path;
}

}  // namespace

bool startProgram(const char* program, const char* arguments, const char* workingFolder) {
    if (!program) return false;
    const char* folder = workingFolder && *workingFolder ? workingFolder : nullptr;
    bool started = false;
    try {
        std::string application = inWindowsFolder(program);
        std::string commandLine = "\"" + std::string(program) + "\" " + (arguments ? arguments : "");
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(application.empty() ? nullptr : application.c_str(), commandLine.data(), nullptr,
                           nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, folder, &startup, &process)) {
            UniqueProcess thread(process.hThread), child(process.hProcess);
            started = true;
        }
    } catch (...) {}
    if (started) return true;
    SHELLEXECUTEINFOA shell{};
    shell.cbSize = sizeof shell;
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
    shell.lpFile = program;
    shell.lpParameters = arguments;
    shell.lpDirectory = folder;
    shell.nShow = SW_SHOWNORMAL;
    // The shell may hand the start to extensions, which need COM.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    started = ShellExecuteExA(&shell) != 0;
    UniqueProcess shellProcess(started ? shell.hProcess : nullptr);
    if (SUCCEEDED(com)) CoUninitialize();
    return started;
}

}  // namespace vb::platform

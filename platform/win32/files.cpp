// Files and processes over KERNEL32 and SHELL32.
#include "platform/win32/win32.h"
// The headers below need <windows.h> first.
#include <shellapi.h>

#include <string>

namespace vb::platform {

namespace {

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

}  // namespace

// Reads in chunks until the end: the size the file claims is not trusted
// to size the buffer.
bool readWholeFile(const char* path, std::vector<std::uint8_t>* out) {
    if (!path || !out) return false;
    FileHandle file{CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    try {
        out->clear();
        std::uint8_t chunk[65536];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file.h, chunk, sizeof chunk, &got, nullptr)) {
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
bool startProgram(const char* program, const char* arguments, const char* workingFolder) {
    if (!program) return false;
    const char* folder = workingFolder && *workingFolder ? workingFolder : nullptr;
    bool started = false;
    try {
        std::string commandLine = "\"" + std::string(program) + "\" " + (arguments ? arguments : "");
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                           nullptr, folder, &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
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
    if (!ShellExecuteExA(&shell)) return false;
    if (shell.hProcess) CloseHandle(shell.hProcess);
    return true;
}

}  // namespace vb::platform

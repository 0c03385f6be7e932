// Files and processes on a POSIX system.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace vb::platform {

bool readWholeFile(const char* path, std::vector<std::uint8_t>* out) {
    if (!path || !out) return false;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    struct stat st {};
    bool ok = fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        try {
            out->resize(static_cast<std::size_t>(st.st_size));
            ok = std::fread(out->data(), 1, out->size(), f) == out->size();
        } catch (...) {
            ok = false;
        }
    }
    std::fclose(f);
    return ok;
}

bool pathExists(const char* path) {
    struct stat st {};
    return path && *path && stat(path, &st) == 0;
}

bool isExistingFile(const char* path) {
    struct stat st {};
    return path && *path && stat(path, &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The program is looked for as a shell would: a name with a "/" is taken as
// it is, any other along PATH in order (an empty entry is the current folder).
bool findProgram(const char* program, std::string* found) {
    if (std::strchr(program, '/')) {
        *found = program;
        return isExecutableFile(*found);
    }
    const char* searchPath = std::getenv("PATH");
    std::string entries = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        std::size_t colon = entries.find(':', start);
        std::string folder = entries.substr(start, colon - start);
        *found = (folder.empty() ? std::string(".") : folder) + "/" + program;
        if (isExecutableFile(*found)) return true;
        if (colon == std::string::npos) return false;
        start = colon + 1;
    }
}

[[noreturn]] void reportAndLeave(int fd, int error) {
    ssize_t ignored = write(fd, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

}  // namespace

// Starts the program without waiting for it, like CreateProcess. The
// argument text goes over whole as one argument (none when it is empty): the
// text is a Windows command-line tail and is not split here. Paths are POSIX
// ones, so a "\" in them is an ordinary character of a name. A working
// folder that is not an existing folder refuses the start, as on Windows.
//
// The program is started by a short-lived middle process, so it is adopted
// by init and never waits as our zombie; a close-on-exec pipe tells us
// whether it really started. Between fork and exec only calls that are safe
// in a child of a threaded process are made.
bool startProgram(const char* program, const char* arguments, const char* workingFolder) {
    if (!program || !*program) return false;
    std::string path;
    try {
        if (!findProgram(program, &path)) return false;
    } catch (...) {
        return false;
    }
    const char* folder = workingFolder && *workingFolder ? workingFolder : nullptr;
    struct stat st {};
    if (folder && (stat(folder, &st) != 0 || !S_ISDIR(st.st_mode))) return false;

    const char* text = arguments ? arguments : "";
    char* argv[] = {const_cast<char*>(program), *text ? const_cast<char*>(text) : nullptr, nullptr};
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;

    pid_t middle = fork();
    if (middle == 0) {
        close(report[0]);
        pid_t viewer = fork();
        if (viewer == 0) {
            // No handles of ours are handed on: all but the standard three
            // close at exec.
#if defined(__linux__) && defined(CLOSE_RANGE_CLOEXEC)
            close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            if (folder && chdir(folder) != 0) reportAndLeave(report[1], errno);
            execv(path.c_str(), argv);
            reportAndLeave(report[1], errno);
        }
        if (viewer < 0) reportAndLeave(report[1], errno);
        _exit(0);
    }
    close(report[1]);

    bool started = false;
    if (middle > 0) {
        int status = 0;
        while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {}
        // End of file without a report: the exec closed the last writer.
        int error = 0;
        ssize_t got;
        do {
            got = read(report[0], &error, sizeof error);
        } while (got < 0 && errno == EINTR);
        started = got == 0;
    }
    close(report[0]);
    return started;
}

}  // namespace vb::platform

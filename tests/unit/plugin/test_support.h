// Temporary folders and stand-in programs for the plug-in's tests.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace vb::plugin::test {

// A fresh folder, removed with everything in it at the end.
struct TempFolder {
    std::filesystem::path path;

    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vbplugin-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = std::filesystem::canonical(pattern);
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes an executable shell script that records, into `record`, its
// argument count, each argument on a line, and the folder it runs in. The
// record appears whole (written aside, then renamed).
inline void writeRecordingProgram(const std::string& programPath, const std::string& record) {
    writeFile(programPath,
              "#!/bin/sh\n"
              "PATH=/usr/bin:/bin\n"
              "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; pwd -P; } > '" +
                  record + ".part' && mv '" + record + ".part' '" + record + "'\n");
    chmod(programPath.c_str(), 0755);
}

// Waits up to a few seconds for a started program to leave its record.
inline bool waitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Puts a folder first on PATH for the lifetime of the object.
struct PathPrefix {
    std::string saved;
    bool hadPath = false;

    explicit PathPrefix(const std::string& folder, bool only = false) {
        const char* old = std::getenv("PATH");
        hadPath = old != nullptr;
        if (old) saved = old;
        std::string value = only || !old ? folder : folder + ":" + saved;
        setenv("PATH", value.c_str(), 1);
    }
    ~PathPrefix() {
        if (hadPath)
            setenv("PATH", saved.c_str(), 1);
        else
            unsetenv("PATH");
    }
    PathPrefix(const PathPrefix&) = delete;
    PathPrefix& operator=(const PathPrefix&) = delete;
};

}  // namespace vb::plugin::test

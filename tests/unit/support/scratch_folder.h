// A folder of one test's own under the system's temporary folder, removed
// with everything in it when the test ends: tests run in parallel and never
// share a file.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace vb::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vb-test-XXXXXX").string();
        if (mkdtemp(pattern.data())) root_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool ok() const { return !root_.empty(); }
    std::string path(const std::string& name) const { return (root_ / name).string(); }

private:
    std::filesystem::path root_;
};

}  // namespace vb::testing

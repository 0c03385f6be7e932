// The checks of a Windows probe: each one that fails is reported on
// standard error under the probe's name and counted, and the probe exits
// with 0 only when none failed.
#pragma once

#include <cstdio>
#include <string>

namespace probe {

inline const char* name = "probe";  // set first thing in main
inline int failures = 0;

inline bool expect(bool ok, const std::string& what) {
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", name, what.c_str());
        ++failures;
    }
    return ok;
}

}  // namespace probe

// The plug-in's version resource as Windows reads it (GetFileVersionInfo)
// says what its export irPlg_GetPluginVersion says, in numbers and in text,
// and names the file the host loads.
//
//   version_probe PLUGIN      exit 0 when every check holds
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/plugin_loader.h"
#include "probe_checks.h"

namespace {

using probe::expect;
using probe::failures;

// A text value of the US English, code page 1252 string table; empty when absent.
std::string versionText(std::vector<char>& block, const char* key) {
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + key;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return std::string();
    return std::string(value, length > 0 && value[length - 1] == '\0' ? length - 1 : length);
}

std::string fourNumbers(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

}  // namespace

int main(int argc, char** argv) {
    probe::name = "version_probe";
    if (argc != 2) {
        std::fprintf(stderr, "usage: version_probe PLUGIN\n");
        return 2;
    }
    vb::host::LoadedPlugin plugin;
    std::string error;
    if (!vb::host::LoadPlugin(argv[1], &plugin, &error)) {
        std::fprintf(stderr, "version_probe: cannot load %s: %s\n", argv[1], error.c_str());
        return 2;
    }
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    if (size == 0) {
        std::fprintf(stderr, "version_probe: %s has no version resource\n", argv[1]);
        return 1;
    }
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(argv[1], 0, size, block.data())) {
        std::fprintf(stderr, "version_probe: the version resource of %s cannot be read\n", argv[1]);
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    expect(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed &&
               fixed->dwSignature == 0xFEEF04BD,
           "no fixed version information");
    const std::string& exported = plugin.version;
    expect(!exported.empty(), "irPlg_GetPluginVersion gave nothing");
    if (fixed) {
        std::string file = fourNumbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
        std::string product = fourNumbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
        expect(file == exported, "file version " + file + ", export " + exported);
        expect(product == exported, "product version " + product + ", export " + exported);
        expect(fixed->dwFileType == VFT_DLL, "the resource does not call the file a DLL");
    }
    expect(versionText(block, "FileVersion") == exported,
           "FileVersion text " + versionText(block, "FileVersion"));
    expect(versionText(block, "ProductVersion") == exported,
           "ProductVersion text " + versionText(block, "ProductVersion"));
    expect(versionText(block, "OriginalFilename") == "Velumbar.lmd",
           "OriginalFilename " + versionText(block, "OriginalFilename"));
    expect(versionText(block, "FileDescription") == plugin.name + " Action Plugin",
           "FileDescription " + versionText(block, "FileDescription"));
    expect(versionText(block, "LegalCopyright").rfind("Copyright (c) ", 0) == 0,
           "LegalCopyright " + versionText(block, "LegalCopyright"));

    if (failures == 0)
        std::printf("version_probe: version %s in the export and the resource\n", exported.c_str());
    return failures == 0 ? 0 : 1;
}

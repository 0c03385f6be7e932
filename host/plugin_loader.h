// Loads the plug-in by file and calls its exports as a host does.
#pragma once

#include <string>

#include <lua.hpp>

namespace vb::host {

struct PluginExports {
    int (*GetPluginName)(char*, int*) = nullptr;
    int (*GetAuthorInfo)(char*, int*) = nullptr;
    int (*GetPluginVersion)(char*, int*) = nullptr;
    int (*GetLuaVersion)(char*, int*) = nullptr;
    int (*GetPluginActionXML)(char*, int*) = nullptr;
    int (*GetSDKVersion)() = nullptr;
    int (*OnProjectBuild)() = nullptr;
    int (*RegisterActions)(lua_State*) = nullptr;
    int (*ShowHelpForPlugin)(const char*) = nullptr;
    int (*ShowHelpForAction)(const char*, const char*) = nullptr;
};

struct LoadedPlugin {
    void* module = nullptr;
    PluginExports exports;
    std::string name, version, actionDocument;
};

// False with a reason when the file cannot be loaded or lacks an export.
bool LoadPlugin(const std::string& path, LoadedPlugin* plugin, std::string* error);

// Full path of the running program; empty when it cannot be told.
std::string ExecutablePath();

// Size query first, then a buffer of the reported size.
std::string ReadExportText(int (*exportFunction)(char*, int*));

}  // namespace vb::host

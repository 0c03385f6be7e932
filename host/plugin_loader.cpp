#include "host/plugin_loader.h"

#include <vector>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace vb::host {

namespace {

#if defined(_WIN32)
void* openModule(const std::string& path, std::string* error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) *error = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}
void* symbolOf(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void closeModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }
#else
void* openModule(const std::string& path, std::string* error) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) *error = dlerror();
    return module;
}
void* symbolOf(void* module, const char* name) { return dlsym(module, name); }
void closeModule(void* module) { dlclose(module); }
#endif

template <class F>
bool bind(void* module, const char* name, F* slot, std::string* error) {
    void* symbol = symbolOf(module, name);
    if (!symbol) {
        *error = std::string("missing export ") + name;
        return false;
    }
    *slot = reinterpret_cast<F>(symbol);
    return true;
}

}  // namespace

std::string ExecutablePath() {
    char self[4096];
#if defined(_WIN32)
    DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    if (n == 0 || n >= sizeof self) return {};
#else
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
#endif
    return std::string(self, static_cast<std::size_t>(n));
}

std::string ReadExportText(int (*exportFunction)(char*, int*)) {
    int size = 0;
    if (exportFunction(nullptr, &size) != -1 || size <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
    int length = exportFunction(buffer.data(), &size);
    if (length < 0 || length >= static_cast<int>(buffer.size())) return {};
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

bool LoadPlugin(const std::string& path, LoadedPlugin* plugin, std::string* error) {
    void* module = openModule(path, error);
    if (!module) return false;
    PluginExports& e = plugin->exports;
    bool ok = bind(module, "irPlg_GetPluginName", &e.GetPluginName, error) &&
              bind(module, "irPlg_GetAuthorInfo", &e.GetAuthorInfo, error) &&
              bind(module, "irPlg_GetPluginVersion", &e.GetPluginVersion, error) &&
              bind(module, "irPlg_GetLuaVersion", &e.GetLuaVersion, error) &&
              bind(module, "irPlg_GetPluginActionXML", &e.GetPluginActionXML, error) &&
              bind(module, "irPlg_GetSDKVersion", &e.GetSDKVersion, error) &&
              bind(module, "irPlg_OnProjectBuild", &e.OnProjectBuild, error) &&
              bind(module, "irPlg_Action_RegisterActions", &e.RegisterActions, error) &&
              bind(module, "irPlg_ShowHelpForPlugin", &e.ShowHelpForPlugin, error) &&
              bind(module, "irPlg_ShowHelpForAction", &e.ShowHelpForAction, error);
    if (!ok) {
        closeModule(module);
        return false;
    }
    plugin->module = module;
    plugin->name = ReadExportText(e.GetPluginName);
    plugin->version = ReadExportText(e.GetPluginVersion);
    plugin->actionDocument = ReadExportText(e.GetPluginActionXML);
    return true;
}

}  // namespace vb::host

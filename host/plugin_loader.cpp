#include "host/plugin_loader.h"

#include <dlfcn.h>

#include <vector>

namespace vb::host {

namespace {

template <class F>
bool bind(void* module, const char* name, F* slot, std::string* error) {
    void* symbol = dlsym(module, name);
    if (!symbol) {
        *error = std::string("missing export ") + name;
        return false;
    }
    *slot = reinterpret_cast<F>(symbol);
    return true;
}

}  // namespace

std::string ReadExportText(int (*exportFunction)(char*, int*)) {
    int size = 0;
    if (exportFunction(nullptr, &size) != -1 || size <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
    int length = exportFunction(buffer.data(), &size);
    if (length < 0 || length >= static_cast<int>(buffer.size())) return {};
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

bool LoadPlugin(const std::string& path, LoadedPlugin* plugin, std::string* error) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        *error = dlerror();
        return false;
    }
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
        dlclose(module);
        return false;
    }
    plugin->module = module;
    plugin->name = ReadExportText(e.GetPluginName);
    plugin->version = ReadExportText(e.GetPluginVersion);
    plugin->actionDocument = ReadExportText(e.GetPluginActionXML);
    return true;
}

}  // namespace vb::host

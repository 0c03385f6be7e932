// The exports the host calls, under exactly these names.
#include <lua.hpp>

#include "actions/registration.h"
#include "plugin/action_document.h"
#include "plugin/help.h"
#include "plugin/identity.h"
#include "plugin/startup.h"

#if defined(_WIN32)
#include <windows.h>
// Exported by Velumbar.def, under exactly the ten names.
#define VB_EXPORT extern "C"
#else
#define VB_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using namespace vb::plugin;

VB_EXPORT int irPlg_GetPluginName(char* buffer, int* size) { return CopyTextOut(kPluginName, buffer, size); }

VB_EXPORT int irPlg_GetAuthorInfo(char* buffer, int* size) { return CopyTextOut(kAuthorInfo, buffer, size); }

VB_EXPORT int irPlg_GetPluginVersion(char* buffer, int* size) {
    return CopyTextOut(kPluginVersion, buffer, size);
}

VB_EXPORT int irPlg_GetLuaVersion(char* buffer, int* size) { return CopyTextOut(kLuaVersion, buffer, size); }

VB_EXPORT int irPlg_GetPluginActionXML(char* buffer, int* size) {
    return CopyTextOut(ActionTemplateDocument(), buffer, size);
}

VB_EXPORT int irPlg_GetSDKVersion() { return kSdkVersion; }

VB_EXPORT int irPlg_OnProjectBuild() { return 1; }

VB_EXPORT int irPlg_Action_RegisterActions(lua_State* L) {
    PreparePlatform();
    vb::actions::RegisterActions(L);
    return 1;
}

// Help needs no preparation: starting the viewer brings what it needs.
VB_EXPORT int irPlg_ShowHelpForPlugin(const char* folder) { return ShowHelpForPlugin(folder); }

VB_EXPORT int irPlg_ShowHelpForAction(const char* actionName, const char* folder) {
    return ShowHelpForAction(actionName, folder);
}

#if defined(_WIN32)
// Only what is safe under the loader lock happens here; the platform is
// prepared at the first registration, which also keeps the library loaded,
// so an unload by FreeLibrary finds nothing prepared. When the whole
// process is ending (reserved is set) the system reclaims everything and
// other threads are already gone, so nothing is released one by one.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) Startup();
    if (reason == DLL_PROCESS_DETACH && !reserved) Shutdown();
    return TRUE;
}
#else
__attribute__((constructor)) static void velumbarLoad() { Startup(); }
__attribute__((destructor)) static void velumbarUnload() { Shutdown(); }
#endif

#include "plugin/startup.h"

#include "images/image_record.h"
#include "platform/platform.h"

namespace vb::plugin {

namespace {

int preparations = 0;

}  // namespace

// Registries are function-local statics in their own files, created empty on
// first use and living until unload; nothing else is safe to do while the
// system loader holds its lock.
void Startup() {}

// Loading libraries and starting COM are not allowed under the loader lock,
// so the platform is prepared on first need instead of at load.
// Our window procedures and Lua functions are handed out from here on, so
// the library stays loaded for the life of the process.
void PreparePlatform() {
    if (preparations > 0) return;
    ++preparations;
    platform::keepModuleLoaded(reinterpret_cast<const void*>(&PreparePlatform));
    platform::startup();
}

// Loaded images go with the library; controls are not released one by one.
// On Windows the library can only be unloaded before the first
// registration (it is kept loaded from then on), when none of this holds
// anything.
void Shutdown() {
    if (preparations == 0) return;
    images::ReleaseAllImages();
    platform::shutdown();
}

}  // namespace vb::plugin

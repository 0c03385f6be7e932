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
void PreparePlatform() {
    if (preparations > 0) return;
    ++preparations;
    platform::startup();
}

// Loaded images go with the library; controls are not released one by one.
void Shutdown() {
    images::ReleaseAllImages();
    if (preparations > 0) platform::shutdown();
}

}  // namespace vb::plugin

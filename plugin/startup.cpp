#include "plugin/startup.h"

#include "images/image_record.h"
#include "platform/platform.h"

namespace vb::plugin {

// Registries are function-local statics in their own files, created empty on
// first use and living until unload; the platform layer is the only state
// that needs preparing here.
void Startup() { platform::startup(); }

// Loaded images go with the library; controls are not released one by one.
void Shutdown() {
    images::ReleaseAllImages();
    platform::shutdown();
}

}  // namespace vb::plugin

#include "plugin/startup.h"

#include "platform/platform.h"

namespace vb::plugin {

// Registries are function-local statics in their own files, created empty on
// first use and living until unload; the platform layer is the only state
// that needs preparing here.
void Startup() { platform::startup(); }

void Shutdown() { platform::shutdown(); }

}  // namespace vb::plugin

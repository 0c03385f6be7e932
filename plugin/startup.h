// Load and unload of the library.
#pragma once

namespace vb::plugin {

// At load: only what is safe inside the library entry point.
void Startup();
// The platform layer's preparation (common controls, COM, optional
// libraries), run once, on the first call; later calls do nothing.
void PreparePlatform();
void Shutdown();

}  // namespace vb::plugin

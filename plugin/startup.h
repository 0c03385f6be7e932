// Load and unload of the library.
#pragma once

namespace vb::plugin {

// At load: only what is safe inside the library entry point.
void Startup();
// The platform layer's preparation (common controls, COM, optional
// libraries), run once, on the first call; later calls do nothing.
void PreparePlatform();
// How many times the preparation has run: 0 before the first need, then 1.
int PlatformPreparations();
void Shutdown();

}  // namespace vb::plugin

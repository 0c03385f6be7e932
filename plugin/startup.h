// Load and unload of the library.
#pragma once

namespace vb::plugin {

// At load: only what is safe inside the library entry point.
void Startup();
// The platform layer's preparation (common controls, COM, our window
// classes), run once, at the first registration; later calls do nothing.
// From then on the library stays loaded.
void PreparePlatform();
void Shutdown();

}  // namespace vb::plugin

// Load and unload of the library.
#pragma once

namespace vb::plugin {

void Startup();
void Shutdown();

}  // namespace vb::plugin

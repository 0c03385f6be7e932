// The class script carried inside the library: run once per registration.
#pragma once

struct lua_State;

namespace vb::script {

// Unpacks the embedded class script and runs it in L under the chunk name
// "Velumbar::OOP.class". A block that cannot be unpacked is skipped.
void runClassScript(lua_State* L);

}  // namespace vb::script

// The Host table of the stand-in host.
#pragma once

#include <string>

#include <lua.hpp>

namespace vb::host {

// Relative snapshot paths go under outFolder.
void InstallHostApi(lua_State* L, const std::string& outFolder);

}  // namespace vb::host

# Lua 5.1 as Debian ships it (liblua5.1-0-dev): headers under /usr/include/lua5.1.
find_path(LUA51_INCLUDE_DIR lua.h PATH_SUFFIXES lua5.1 REQUIRED)
find_library(LUA51_LIBRARY NAMES lua5.1 lua51 REQUIRED)
find_program(LUA51_LUAC NAMES luac5.1 luac)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Lua51Host DEFAULT_MSG LUA51_LIBRARY LUA51_INCLUDE_DIR)
if(NOT TARGET Lua51::Lua)
  add_library(Lua51::Lua UNKNOWN IMPORTED)
  set_target_properties(Lua51::Lua PROPERTIES
    IMPORTED_LOCATION "${LUA51_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${LUA51_INCLUDE_DIR}")
endif()

# Lua 5.1 headers and library.
# Linux: as Debian ships it (liblua5.1-0-dev), headers under /usr/include/lua5.1.
# Windows cross builds: the headers and lua5.1.dll's import library built by
# cmake/windows-deps.sh into the dependency prefix. The plug-in itself does
# not link that library but one generated from plugin/lua_functions.txt,
# naming VELUMBAR_LUA_DLL (see plugin/CMakeLists.txt).
find_path(LUA51_INCLUDE_DIR lua.h PATH_SUFFIXES lua5.1 REQUIRED)
if(WIN32)
  find_library(LUA51_LIBRARY NAMES lua5.1.dll lua5.1 REQUIRED)
else()
  find_library(LUA51_LIBRARY NAMES lua5.1 lua51 REQUIRED)
endif()
find_program(LUA51_LUAC NAMES luac5.1 luac)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Lua51Host DEFAULT_MSG LUA51_LIBRARY LUA51_INCLUDE_DIR)
if(NOT TARGET Lua51::Lua)
  if(WIN32)
    # Headers only: each Windows binary names its own Lua import library.
    add_library(Lua51::Lua INTERFACE IMPORTED)
    set_target_properties(Lua51::Lua PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${LUA51_INCLUDE_DIR}")
  else()
    add_library(Lua51::Lua UNKNOWN IMPORTED)
    set_target_properties(Lua51::Lua PROPERTIES
      IMPORTED_LOCATION "${LUA51_LIBRARY}"
      INTERFACE_INCLUDE_DIRECTORIES "${LUA51_INCLUDE_DIR}")
  endif()
endif()

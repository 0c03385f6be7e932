# Lua 5.1 headers and library.
# Linux: as Debian ships it (liblua5.1-0-dev), headers under /usr/include/lua5.1.
# Windows cross builds: the headers and lua5.1.dll's import library built by
# cmake/windows-deps.sh into the dependency prefix (the test host links it).
# The plug-in reaches the host's Lua through an import library made here
# from plugin/lua_functions.txt, naming VELUMBAR_LUA_DLL.
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
    set(VELUMBAR_LUA_DLL "lua5.1.dll" CACHE STRING "Name of the host's Lua DLL")
    set(lua_list ${CMAKE_SOURCE_DIR}/plugin/lua_functions.txt)
    set(lua_def ${CMAKE_BINARY_DIR}/host_lua/host_lua.def)
    set(lua_implib ${CMAKE_BINARY_DIR}/host_lua/libhost_lua.a)
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${lua_list})
    execute_process(COMMAND ${CMAKE_COMMAND} -DLIST=${lua_list} -DDLL=${VELUMBAR_LUA_DLL}
                            -DOUT=${lua_def} -P ${CMAKE_CURRENT_LIST_DIR}/lua_def.cmake
                    COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${CMAKE_DLLTOOL} -d ${lua_def} -l ${lua_implib} -D ${VELUMBAR_LUA_DLL}
                    COMMAND_ERROR_IS_FATAL ANY)
    add_library(Lua51::Lua INTERFACE IMPORTED)
    set_target_properties(Lua51::Lua PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${LUA51_INCLUDE_DIR}"
      INTERFACE_LINK_LIBRARIES "${lua_implib}")
  else()
    add_library(Lua51::Lua UNKNOWN IMPORTED)
    set_target_properties(Lua51::Lua PROPERTIES
      IMPORTED_LOCATION "${LUA51_LIBRARY}"
      INTERFACE_INCLUDE_DIRECTORIES "${LUA51_INCLUDE_DIR}")
  endif()
endif()

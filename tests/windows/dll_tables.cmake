# Reads the DLL's export and import tables with objdump -p: exactly the ten
# exports, undecorated, and imports from system DLLs and the Lua DLL only.
#   cmake -DOBJDUMP=.. -DDLL=.. -DLUA_DLL=.. -P dll_tables.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump could not read ${DLL}")
endif()

set(expected irPlg_Action_RegisterActions irPlg_GetAuthorInfo irPlg_GetLuaVersion
    irPlg_GetPluginActionXML irPlg_GetPluginName irPlg_GetPluginVersion irPlg_GetSDKVersion
    irPlg_OnProjectBuild irPlg_ShowHelpForAction irPlg_ShowHelpForPlugin)

# The export names are the rows "[   n] name" of "[Ordinal/Name Pointer]
# Table", up to its first blank line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n.*" section "${dump}")
if(NOT section)
  message(FATAL_ERROR "no export name table in ${DLL}")
endif()
string(FIND "${section}" "\n\n" end)
string(SUBSTRING "${section}" 0 ${end} section)
string(REGEX MATCHALL "\\[ *[0-9]+\\] [A-Za-z_?@][^ \t\n]*\n" rows "${section}\n")
set(exports "")
foreach(row ${rows})
  string(REGEX REPLACE "^\\[ *[0-9]+\\] ([^\n]*)\n$" "\\1" name "${row}")
  list(APPEND exports ${name})
endforeach()
list(SORT exports)
if(NOT exports STREQUAL expected)
  message(FATAL_ERROR "exports of ${DLL}: '${exports}', expected '${expected}'")
endif()

# What the system itself provides; anything else would have to be shipped.
set(system_dlls kernel32.dll user32.dll gdi32.dll comctl32.dll shell32.dll ole32.dll
    oleaut32.dll oleacc.dll msimg32.dll msvcrt.dll advapi32.dll shlwapi.dll)
string(TOLOWER "${LUA_DLL}" lua_dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no import table read from ${DLL}")
endif()
set(found_lua FALSE)
foreach(line ${imports})
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  if(dll STREQUAL lua_dll)
    set(found_lua TRUE)
  elseif(dll MATCHES "^api-ms-win-")
    # The system's own API sets.
  else()
    list(FIND system_dlls ${dll} at)
    if(at LESS 0)
      message(FATAL_ERROR "${DLL} imports ${dll}, which is neither a system DLL nor ${LUA_DLL}")
    endif()
  endif()
endforeach()
if(NOT found_lua)
  message(FATAL_ERROR "${DLL} does not import ${LUA_DLL}")
endif()
message(STATUS "${DLL}: ten exports; imports ${imports}")

# The list the Windows import library for the host's Lua is made from
# (plugin/lua_functions.txt) names exactly the Lua functions the plug-in
# calls, as the Linux build's undefined symbols show: a function missing
# from it would break the Windows link, an extra one would name something
# the plug-in no longer needs.
#   cmake -DNM=.. -DMODULE=.. -DLIST=.. -P lua_functions.cmake
execute_process(COMMAND ${NM} -u ${MODULE} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm could not read ${MODULE}")
endif()
string(REGEX MATCHALL "lua[L]?_[A-Za-z_]+" used "${symbols}")
list(REMOVE_DUPLICATES used)
list(SORT used)
file(STRINGS ${LIST} lines REGEX "^[^#]")
set(listed "")
foreach(line ${lines})
  string(STRIP "${line}" name)
  if(name)
    list(APPEND listed ${name})
  endif()
endforeach()
list(SORT listed)
if(NOT used STREQUAL listed)
  set(missing ${used})
  list(REMOVE_ITEM missing ${listed})
  set(extra ${listed})
  list(REMOVE_ITEM extra ${used})
  message(FATAL_ERROR "plugin/lua_functions.txt is out of date: missing '${missing}', not used '${extra}'")
endif()

# Writes a module-definition file for DLL from the function list LIST
# (one name a line, # comments): cmake -DLIST=.. -DDLL=.. -DOUT=.. -P lua_def.cmake
file(STRINGS ${LIST} lines)
set(text "LIBRARY \"${DLL}\"\nEXPORTS\n")
foreach(line ${lines})
  string(STRIP "${line}" name)
  if(name AND NOT name MATCHES "^#")
    string(APPEND text "    ${name}\n")
  endif()
endforeach()
file(WRITE ${OUT} "${text}")

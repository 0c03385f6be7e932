# Checks the release zip as a user receives it: exactly the expected files;
# the plug-in a stripped PE32 i386 DLL with the ten exports, a debug link to
# the debug file beside the zip, and a version resource that says the
# project version; the help file and examples as built and kept.
#
#   cmake -DZIP=.. -DDEBUG_FILE=.. -DNAME=.. -DSOURCE=.. -DCHM=.. -DWORK=.. -DOBJDUMP=..
#         -DWINDRES=.. -DVERSION_TEXT=.. -DLUA_DLL=.. -P check_package.cmake
foreach(var ZIP DEBUG_FILE NAME SOURCE CHM WORK OBJDUMP WINDRES VERSION_TEXT LUA_DLL)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_package.cmake: ${var} not given")
  endif()
endforeach()
if(NOT EXISTS ${ZIP})
  message(FATAL_ERROR "no package ${ZIP}: run make dist")
endif()

set(failures "")
macro(expect condition message)
  if(NOT (${condition}))
    list(APPEND failures "${message}")
  endif()
endmacro()

function(run out)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed: ${errors}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Exactly these files, no folder entries beside them, nothing else.
run(listing ${CMAKE_COMMAND} -E tar tf ${ZIP})
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "^$")
list(SORT entries)
set(expected ${NAME}/CHANGELOG.md ${NAME}/LICENSE ${NAME}/README.txt ${NAME}/Velumbar.chm ${NAME}/Velumbar.lmd)
file(GLOB_RECURSE examples RELATIVE ${SOURCE}/examples ${SOURCE}/examples/*)
list(FILTER examples EXCLUDE REGEX "(^|/)(CMakeLists\\.txt|[^/]*\\.cmake)$")
expect(examples "no examples in ${SOURCE}/examples")
foreach(example ${examples})
  list(APPEND expected ${NAME}/examples/${example})
endforeach()
list(SORT expected)
expect("entries STREQUAL expected" "the zip holds\n  ${entries}\nexpected\n  ${expected}")

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
run(ignored ${CMAKE_COMMAND} -E chdir ${WORK} ${CMAKE_COMMAND} -E tar xf ${ZIP})
set(package ${WORK}/${NAME})
set(dll ${package}/Velumbar.lmd)

# PE32 for i386, a DLL, and stripped: no symbol table and no debug sections,
# but a debug link naming the file kept beside the zip.
run(header ${OBJDUMP} -f -h ${dll})
expect("header MATCHES \"file format pei-i386\"" "Velumbar.lmd is not PE32 for i386:\n${header}")
expect("header MATCHES \"flags [^\n]*DYNAMIC\"" "Velumbar.lmd is not a DLL")
expect("NOT header MATCHES \"HAS_SYMS\"" "Velumbar.lmd still has a symbol table")
expect("NOT header MATCHES \"\\\\.debug_\"" "Velumbar.lmd still has debug sections")
run(private ${OBJDUMP} -p ${dll})
expect("private MATCHES \"Magic[ \t]+010b\"" "Velumbar.lmd's optional header is not PE32 (010b)")
run(link ${OBJDUMP} -s -j .gnu_debuglink ${dll})
get_filename_component(debug_name ${DEBUG_FILE} NAME)
expect("EXISTS \"${DEBUG_FILE}\"" "no debug file ${DEBUG_FILE} beside the zip")
run(debug_sections ${OBJDUMP} -h ${DEBUG_FILE})
expect("debug_sections MATCHES \"\\\\.debug_info\"" "${DEBUG_FILE} holds no debug information")
expect("link MATCHES \"Contents of section .gnu_debuglink\"" "Velumbar.lmd has no debug link")
string(SUBSTRING "${debug_name}" 0 12 debug_start)
expect("link MATCHES \"${debug_start}\"" "the debug link does not name ${debug_name}:\n${link}")

# The ten exports and only system DLLs and Lua imported.
execute_process(COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${OBJDUMP} -DDLL=${dll} -DLUA_DLL=${LUA_DLL}
                        -P ${SOURCE}/tests/windows/dll_tables.cmake
  RESULT_VARIABLE status OUTPUT_VARIABLE tables_out ERROR_VARIABLE tables)
expect("status EQUAL 0" "${tables}")

# The version resource, as windres reads it back from the file.
run(resource ${WINDRES} --input-format=coff --output-format=rc ${dll})
string(REPLACE "." "," version_commas "${VERSION_TEXT}")
# Patterns are written with [.] and [(]: they are read twice, by expect().
string(REPLACE "." "[.]" version_regex "${VERSION_TEXT}")
string(REGEX REPLACE "^Velumbar-" "" package_version "${NAME}")
string(REPLACE "." "[.]" package_regex "${package_version}")
expect("resource MATCHES \"FILEVERSION ${version_commas}\n\"" "file version in the resource is not ${VERSION_TEXT}")
expect("resource MATCHES \"PRODUCTVERSION ${version_commas}\n\"" "product version is not ${VERSION_TEXT}")
foreach(pair "FileVersion:${version_regex}" "ProductVersion:${version_regex}" "OriginalFilename:Velumbar[.]lmd"
             "FileDescription:Velumbar Action Plugin" "LegalCopyright:Copyright [(]c[)] [0-9]+ [A-Za-z ]+"
             "ProductName:Velumbar")
  string(REGEX REPLACE ":.*" "" key "${pair}")
  string(REGEX REPLACE "^[^:]*:" "" value "${pair}")
  expect("resource MATCHES \"VALUE \\\"${key}\\\", \\\"${value}\\\"\"" "the resource's ${key} is not ${value}")
endforeach()
expect("resource MATCHES \"VALUE \\\"Translation\\\", 0x0*409, 1252\"" "the resource is not US English, code page 1252")

# What is copied is what was built and kept.
foreach(pair "Velumbar.chm:${CHM}" "LICENSE:${SOURCE}/LICENSE" "CHANGELOG.md:${SOURCE}/CHANGELOG.md")
  string(REGEX REPLACE ":.*" "" inside "${pair}")
  string(REGEX REPLACE "^[^:]*:" "" original "${pair}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${package}/${inside} ${original} RESULT_VARIABLE differs)
  expect("differs EQUAL 0" "${inside} in the zip differs from ${original}")
endforeach()
foreach(example ${examples})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${package}/examples/${example}
                          ${SOURCE}/examples/${example} RESULT_VARIABLE differs)
  expect("differs EQUAL 0" "examples/${example} in the zip differs from the source")
endforeach()
file(READ ${package}/README.txt readme)
expect("readme MATCHES \"^Velumbar ${package_regex}\r\n\"" "README.txt does not open with the version")
expect("readme MATCHES \"\r\n\" AND NOT readme MATCHES \"[^\r]\n\"" "README.txt lines do not all end in CR LF")

if(failures)
  string(REPLACE ";" "\n" failures "${failures}")
  message(FATAL_ERROR "${ZIP}:\n${failures}")
endif()
list(LENGTH entries count)
file(SIZE ${ZIP} zip_size)
file(SIZE ${dll} dll_size)
message(STATUS "${ZIP}: ${count} files, ${zip_size} bytes; Velumbar.lmd ${dll_size} bytes, version ${VERSION_TEXT}")

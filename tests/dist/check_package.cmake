# Checks the release zip as a user receives it: exactly the expected files;
# the plug-in a stripped PE32 i386 DLL with the ten exports, a debug link to
# the debug file beside the zip, and a version resource that says the
# project version; the help file and examples as built and kept.
#
#   cmake -DZIP=.. -DDEBUG_FILE=.. -DNAME=.. -DSOURCE=.. -DCHM=.. -DWORK=.. -DOBJDUMP=..
#         -DWINDRES=.. -DVERSION_TEXT=.. -DLUA_DLL=.. [-DDLL=..] -P check_package.cmake
cmake_policy(SET CMP0007 NEW)
foreach(var ZIP DEBUG_FILE NAME SOURCE CHM WORK OBJDUMP WINDRES VERSION_TEXT LUA_DLL)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_package.cmake: ${var} not given")
  endif()
endforeach()
if(NOT EXISTS ${ZIP})
  message(FATAL_ERROR "no package ${ZIP}: run make dist")
endif()
# A package made before the help or the plug-in it packs was rebuilt is a
# leftover, not a release: make dist makes it afresh before this check, so
# elsewhere (a plain ctest in a build folder) the check stands aside.
foreach(input ${CHM} ${DLL})
  if(EXISTS ${input} AND ${input} IS_NEWER_THAN ${ZIP})
    message(STATUS "package older than ${input}: run make dist to make and check it")
    return()
  endif()
endforeach()

# Each check adds its message to `failures`; all are reported together.
set(failures "")
function(fail message)
  set(failures ${failures} "${message}" PARENT_SCOPE)
endfunction()
function(expect_match text pattern message)
  if(NOT text MATCHES "${pattern}")
    set(failures ${failures} "${message}" PARENT_SCOPE)
  endif()
endfunction()
function(expect_no_match text pattern message)
  if(text MATCHES "${pattern}")
    set(failures ${failures} "${message}" PARENT_SCOPE)
  endif()
endfunction()
function(expect_same_file inside original)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${inside} ${original} RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    set(failures ${failures} "${inside} differs from ${original}" PARENT_SCOPE)
  endif()
endfunction()

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
if(NOT examples)
  fail("no examples in ${SOURCE}/examples")
endif()
foreach(example ${examples})
  list(APPEND expected ${NAME}/examples/${example})
endforeach()
list(SORT expected)
if(NOT entries STREQUAL expected)
  fail("the zip holds\n  ${entries}\nexpected\n  ${expected}")
endif()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
run(ignored ${CMAKE_COMMAND} -E chdir ${WORK} ${CMAKE_COMMAND} -E tar xf ${ZIP})
set(package ${WORK}/${NAME})
set(dll ${package}/Velumbar.lmd)

# PE32 for i386, a DLL, and stripped: no symbol table and no debug sections,
# but a debug link naming the file kept beside the zip.
run(header ${OBJDUMP} -f -h ${dll})
expect_match("${header}" "file format pei-i386" "Velumbar.lmd is not PE32 for i386")
expect_no_match("${header}" "HAS_SYMS" "Velumbar.lmd still has a symbol table")
expect_no_match("${header}" "\\.debug_" "Velumbar.lmd still has debug sections")
run(private ${OBJDUMP} -p ${dll})
expect_match("${private}" "Magic[ \t]+010b" "Velumbar.lmd's optional header is not PE32 (010b)")
expect_match("${private}" "Characteristics[^\n]*\n(\t[^\n]*\n)*\tDLL\n" "Velumbar.lmd is not a DLL")
execute_process(COMMAND ${OBJDUMP} -s -j .gnu_debuglink ${dll} OUTPUT_VARIABLE link ERROR_QUIET)
get_filename_component(debug_name ${DEBUG_FILE} NAME)
if(NOT EXISTS ${DEBUG_FILE})
  message(FATAL_ERROR "no debug file ${DEBUG_FILE} beside the zip")
endif()
run(debug_sections ${OBJDUMP} -h ${DEBUG_FILE})
expect_match("${debug_sections}" "\\.debug_info" "${DEBUG_FILE} holds no debug information")
# The section's dump, after the header that names the dumped file: its
# text column shows the name in rows of sixteen bytes.
string(REGEX MATCH "Contents of section \\.gnu_debuglink:\n.*" link "${link}")
expect_match("${link}" "^Contents" "Velumbar.lmd has no debug link")
string(SUBSTRING "${debug_name}" 0 16 debug_start)
string(REPLACE "." "\\." debug_start "${debug_start}")
expect_match("${link}" "${debug_start}" "the debug link does not name ${debug_name}")

# The ten exports and only system DLLs and Lua imported.
execute_process(COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${OBJDUMP} -DDLL=${dll} -DLUA_DLL=${LUA_DLL}
                        -P ${SOURCE}/tests/windows/dll_tables.cmake
  RESULT_VARIABLE status OUTPUT_VARIABLE tables_out ERROR_VARIABLE tables)
if(NOT status EQUAL 0)
  fail("${tables}")
endif()

# The version resource, as windres reads it back from the file.
run(resource ${WINDRES} --input-format=coff --output-format=rc ${dll})
string(REPLACE "." ", " version_commas "${VERSION_TEXT}")
string(REPLACE "." "\\." version_regex "${VERSION_TEXT}")
string(REGEX REPLACE "^Velumbar-" "" package_version "${NAME}")
expect_match("${resource}" "FILEVERSION ${version_commas}\n" "file version in the resource is not ${VERSION_TEXT}")
expect_match("${resource}" "PRODUCTVERSION ${version_commas}\n" "product version is not ${VERSION_TEXT}")
expect_match("${resource}" "FILETYPE 0x2\n" "the version resource does not call the file a DLL")
foreach(pair "FileVersion:${version_regex}" "ProductVersion:${version_regex}" "OriginalFilename:Velumbar\\.lmd"
             "FileDescription:Velumbar Action Plugin" "LegalCopyright:Copyright \\(c\\) [0-9]+ [A-Za-z ]+"
             "ProductName:Velumbar")
  string(REGEX REPLACE ":.*" "" key "${pair}")
  string(REGEX REPLACE "^[^:]*:" "" value "${pair}")
  expect_match("${resource}" "VALUE \"${key}\", \"${value}\"" "the resource's ${key} is not ${value}")
endforeach()
expect_match("${resource}" "VALUE \"Translation\", 0x0*409, 1252" "the resource is not US English, code page 1252")

# What is copied is what was built and kept.
expect_same_file(${package}/Velumbar.chm ${CHM})
expect_same_file(${package}/LICENSE ${SOURCE}/LICENSE)
expect_same_file(${package}/CHANGELOG.md ${SOURCE}/CHANGELOG.md)
foreach(example ${examples})
  expect_same_file(${package}/examples/${example} ${SOURCE}/examples/${example})
endforeach()
# The readme opens with the version and ends every line in CR LF. Read as
# hex, which is exact for its ASCII text: "0a" and "0d0a" can only match
# whole bytes there.
file(READ ${package}/README.txt readme HEX)
string(HEX "Velumbar ${package_version}" heading)
expect_match("${readme}" "^${heading}0d0a" "README.txt does not open with the version")
string(REGEX MATCHALL "0d0a" crlf "${readme}")
string(REGEX MATCHALL "0a" lf "${readme}")
list(LENGTH crlf crlf_count)
list(LENGTH lf lf_count)
if(NOT crlf_count EQUAL lf_count)
  fail("README.txt has ${lf_count} line ends, ${crlf_count} of them CR LF")
endif()

if(failures)
  string(REPLACE ";" "\n" failures "${failures}")
  message(FATAL_ERROR "${ZIP}:\n${failures}")
endif()
list(LENGTH entries count)
file(SIZE ${ZIP} zip_size)
file(SIZE ${dll} dll_size)
message(STATUS "${ZIP}: ${count} files, ${zip_size} bytes; Velumbar.lmd ${dll_size} bytes, version ${VERSION_TEXT}")

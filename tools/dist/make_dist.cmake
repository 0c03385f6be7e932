# Assembles OUT/NAME/ and OUT/NAME.zip: the stripped plug-in, the help file,
# the install readme, licence, changelog and examples. The plug-in's debug
# information goes beside the zip (OUT/Velumbar.lmd.debug), named in the
# plug-in by a debug link, for reading crash addresses later.
#
#   cmake -DSOURCE=.. -DDLL=.. -DCHM=.. -DOUT=.. -DNAME=.. -DVERSION=.. -DOBJCOPY=..
#         -P make_dist.cmake
foreach(var SOURCE DLL CHM OUT NAME VERSION OBJCOPY)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_dist.cmake: ${var} not given")
  endif()
endforeach()
foreach(input ${DLL} ${CHM})
  if(NOT EXISTS ${input})
    message(FATAL_ERROR "make_dist.cmake: ${input} has not been built")
  endif()
endforeach()

set(package ${OUT}/${NAME})
file(REMOVE_RECURSE ${package})
file(REMOVE ${OUT}/${NAME}.zip ${OUT}/Velumbar.lmd.debug)
file(MAKE_DIRECTORY ${package})

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${OUT} RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}: ${errors}")
  endif()
endfunction()

# The debug link is made in OUT, where the debug file is, so that it
# records the bare file name and that file's checksum.
run(${OBJCOPY} --only-keep-debug ${DLL} Velumbar.lmd.debug)
run(${OBJCOPY} --strip-all --add-gnu-debuglink=Velumbar.lmd.debug ${DLL} ${NAME}/Velumbar.lmd)

file(COPY ${CHM} ${SOURCE}/LICENSE ${SOURCE}/CHANGELOG.md DESTINATION ${package})
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${package}/README.txt @ONLY NEWLINE_STYLE CRLF)
# The examples as an author copies them; their test wiring stays behind.
file(COPY ${SOURCE}/examples/ DESTINATION ${package}/examples
     PATTERN "CMakeLists.txt" EXCLUDE PATTERN "*.cmake" EXCLUDE)

# Entries in a fixed order with one date, so the same tree gives the same zip.
file(GLOB_RECURSE entries RELATIVE ${OUT} ${package}/*)
list(SORT entries)
run(${CMAKE_COMMAND} -E tar cf ${NAME}.zip --format=zip "--mtime=2026-01-01 00:00:00 UTC" ${entries})

file(SIZE ${DLL} built)
file(SIZE ${package}/Velumbar.lmd stripped)
file(SIZE ${OUT}/${NAME}.zip zipped)
message(STATUS "Velumbar.lmd: ${built} bytes as built, ${stripped} stripped")
message(STATUS "${OUT}/${NAME}.zip: ${zipped} bytes; debug information in ${OUT}/Velumbar.lmd.debug")

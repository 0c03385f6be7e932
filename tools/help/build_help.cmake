# Builds Velumbar.chm from docs/: draws the pictures with the stand-in host,
# renders the pages (make_pages.lua) and compiles the project with chmcmd.
# Everything is made afresh in WORK, so a removed page or picture is gone.
#
#   cmake -DDOCS=.. -DWORK=.. -DCHM=.. -DHOST=.. -DPLUGIN=.. -DCMARK=.. -DCHMCMD=..
#         -DLUA=.. -DVERSION=.. -P build_help.cmake
foreach(var DOCS WORK CHM HOST PLUGIN CMARK CHMCMD LUA VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "build_help.cmake: ${var} not given")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/pictures)

# Each picture script writes its PNGs with Host.Snapshot under --out.
file(GLOB scripts ${DOCS}/pictures/*.lua)
list(SORT scripts)
foreach(script ${scripts})
  execute_process(COMMAND ${HOST} --plugin ${PLUGIN} --out ${WORK}/pictures ${script}
    WORKING_DIRECTORY ${DOCS}/pictures RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "picture script ${script} failed (${status}): ${errors}")
  endif()
endforeach()
file(GLOB pictures RELATIVE ${WORK}/pictures ${WORK}/pictures/*.png)
list(SORT pictures)

file(GLOB pages RELATIVE ${DOCS} ${DOCS}/*.md)
list(SORT pages)
configure_file(${CMAKE_CURRENT_LIST_DIR}/velumbar.css ${WORK}/velumbar.css COPYONLY)
execute_process(COMMAND ${LUA} ${CMAKE_CURRENT_LIST_DIR}/make_pages.lua ${DOCS} ${WORK} ${CMARK} ${VERSION}
                        ${pages} -- ${pictures}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the pages could not be rendered")
endif()

# chmcmd reports a missing file or link only as a warning; its log is kept
# beside the project for a look.
execute_process(COMMAND ${CHMCMD} --no-html-scan Velumbar.hhp
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status OUTPUT_FILE ${WORK}/chmcmd.log ERROR_FILE ${WORK}/chmcmd.log)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/Velumbar.chm)
  file(READ ${WORK}/chmcmd.log log)
  message(FATAL_ERROR "chmcmd failed (${status}):\n${log}")
endif()
get_filename_component(chm_folder ${CHM} DIRECTORY)
file(MAKE_DIRECTORY ${chm_folder})
file(COPY_FILE ${WORK}/Velumbar.chm ${CHM})

# The gallery drawn by the stand-in and by Windows (under Wine), compared
# outside the text rectangles and icon boxes of its bars.
#   cmake -DLINUX_BIN=.. -DWINE=.. -DWINE_HOST=.. -DWINE_PLUGIN=.. -DSCRIPT=.. -DOUT=..
#         -P gallery_backends.cmake
set(geometry_script ${CMAKE_CURRENT_LIST_DIR}/gallery_geometry.lua)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/stand-in ${OUT}/win32)

execute_process(
  COMMAND ${LINUX_BIN}/velumbar-host --plugin ${LINUX_BIN}/Velumbar.lmd --out ${OUT}/stand-in
          ${geometry_script} ${SCRIPT} gallery.png ${OUT}/stand-in/geometry.txt
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the stand-in could not draw the gallery: ${status}")
endif()
# Unix paths reach the Windows program as paths on Wine's drive of the root.
execute_process(
  COMMAND ${WINE} ${WINE_HOST} --plugin ${WINE_PLUGIN} --out ${OUT}/win32
          ${geometry_script} ${SCRIPT} gallery.png ${OUT}/win32/geometry.txt
  WORKING_DIRECTORY ${OUT}/win32
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Windows could not draw the gallery: ${status}")
endif()

file(READ ${OUT}/stand-in/geometry.txt linux_geometry)
file(READ ${OUT}/win32/geometry.txt windows_geometry)
if(NOT linux_geometry STREQUAL windows_geometry)
  message(FATAL_ERROR "the two runs placed the bars differently")
endif()
execute_process(
  COMMAND ${LINUX_BIN}/gallery_compare ${OUT}/stand-in/geometry.txt ${OUT}/stand-in/gallery.png
          ${OUT}/win32/gallery.png
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the backends' galleries differ outside text and icons")
endif()

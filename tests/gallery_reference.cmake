# Renders examples/gallery.lua into a folder of its own and compares the
# picture with the committed reference, byte for byte.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${HOST} --plugin ${PLUGIN} --out ${OUT} ${SCRIPT}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "rendering the gallery failed: ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/gallery.png ${REFERENCE}
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${OUT}/gallery.png differs from ${REFERENCE}")
endif()

# Packs velumbar_oop.lua (carried as Lua source text, which loads on 32- and
# 64-bit hosts alike) into its stored block and compiles that block in as
# vb::script::kClassScriptBlock.
#
# When cross-compiling, point VELUMBAR_JC_EXECUTABLE at a velumbar-jc built
# for the build machine (or give velumbar-jc a CROSSCOMPILING_EMULATOR).
set(VELUMBAR_JC_EXECUTABLE "" CACHE FILEPATH "velumbar-jc to run at build time (default: the one built here)")
if(VELUMBAR_JC_EXECUTABLE)
  set(_jc_command ${VELUMBAR_JC_EXECUTABLE})
  set(_jc_depends "")
else()
  set(_jc_command velumbar-jc)
  set(_jc_depends velumbar-jc)
endif()

set(_jc_source ${CMAKE_CURRENT_SOURCE_DIR}/velumbar_oop.lua)
set(_jc_block ${CMAKE_CURRENT_BINARY_DIR}/velumbar_oop.jc)
set(_jc_cpp ${CMAKE_CURRENT_BINARY_DIR}/class_script_block.cpp)
add_custom_command(
  OUTPUT ${_jc_block} ${_jc_cpp}
  COMMAND ${_jc_command} pack ${_jc_source} ${_jc_block}
  COMMAND ${_jc_command} embed ${_jc_block} ${_jc_cpp} vb::script::kClassScriptBlock script/class_script_block.h
  DEPENDS ${_jc_source} ${_jc_depends}
  COMMENT "Packing the class script"
  VERBATIM)
target_sources(velumbar_script PRIVATE ${_jc_cpp})

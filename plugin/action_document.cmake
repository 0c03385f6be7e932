# The action template document is generated at build time: a small tool,
# built first, reads the catalogue table and writes the text as a C++
# literal, which becomes part of velumbar_boundary.
#
# When cross-compiling, the tool runs through CMAKE_CROSSCOMPILING_EMULATOR
# (CMake prefixes it for us), or a tool built for the build machine can be
# named with VELUMBAR_GEN_ACTION_DOCUMENT.
set(VELUMBAR_GEN_ACTION_DOCUMENT "" CACHE FILEPATH
    "gen_action_document built for the build machine (cross builds only)")

if(VELUMBAR_GEN_ACTION_DOCUMENT)
  set(action_document_tool ${VELUMBAR_GEN_ACTION_DOCUMENT})
else()
  # Built by tools/CMakeLists.txt.
  set(action_document_tool gen_action_document)
endif()

set(action_document_catalogue ${CMAKE_CURRENT_LIST_DIR}/actions_catalogue.txt)
set(action_document_source ${CMAKE_CURRENT_BINARY_DIR}/action_document_text.cpp)

add_custom_command(
  OUTPUT ${action_document_source}
  COMMAND ${action_document_tool} ${action_document_catalogue} ${action_document_source}
  DEPENDS ${action_document_tool} ${action_document_catalogue}
  COMMENT "Generating the action template document"
  VERBATIM)

target_sources(velumbar_boundary PRIVATE ${action_document_source})

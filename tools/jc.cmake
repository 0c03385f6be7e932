# velumbar-jc: the packer of the class script, and its library for the tests.
add_library(velumbar_jc_pack STATIC
  ${CMAKE_CURRENT_LIST_DIR}/jc/match_finder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jc/parse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jc/pack.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jc/embed.cpp)
target_link_libraries(velumbar_jc_pack PUBLIC velumbar_unpack)

add_executable(velumbar-jc ${CMAKE_CURRENT_LIST_DIR}/jc/main.cpp)
target_link_libraries(velumbar-jc PRIVATE velumbar_jc_pack)

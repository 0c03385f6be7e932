# Cross build for i686 Windows with Debian's mingw-w64 (win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELUMBAR_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

include(${CMAKE_CURRENT_LIST_DIR}/i686-flags.cmake)
set(CMAKE_C_FLAGS_INIT "${VELUMBAR_I686_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${VELUMBAR_I686_FLAGS}")

# Cross build for i686 Windows with Debian's mingw-w64 (win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELUMBAR_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# SSE2, as every 32-bit Windows compiler has assumed by default for a
# decade: the raster code's vector paths then run in the DLL users install,
# and float arithmetic rounds as it does in the 64-bit build (x87's wider
# registers would round some results differently). The host's threads and
# Windows' callbacks keep the stack only 4-byte aligned, so functions that
# need more align it themselves.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")

# The code generation of every 32-bit build: the DLL users install and the
# 32-bit check of the raster code share it.
#
# SSE2, as every 32-bit Windows compiler has assumed by default for a
# decade: the raster code's vector paths then run in the DLL users install,
# and float arithmetic rounds as it does in the 64-bit build (x87's wider
# registers round some results differently: the gloss of a white bar came
# out one level off). The host's threads and Windows' callbacks keep the
# stack only 4-byte aligned, so functions that need more align it
# themselves.
set(VELUMBAR_I686_FLAGS "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")

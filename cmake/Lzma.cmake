# The LZMA SDK's C sources as Debian's lzma-dev package installs them (tools/bootstrap).
set(LZMA_SOURCE /usr/include/lzma CACHE PATH "The LZMA SDK's C sources (Debian's lzma-dev)")
if(NOT EXISTS ${LZMA_SOURCE}/LzmaDec.c)
  message(FATAL_ERROR "LZMA sources missing in ${LZMA_SOURCE}: run tools/bootstrap")
endif()

# The host payload builder's compiler arguments for the encoder: its C files compiled as C
# (the driver is the C++ compiler) and single-threaded, which also makes it deterministic.
set(LZMA_ENCODER_ARGUMENTS -D_7ZIP_ST -isystem ${LZMA_SOURCE}
    -x c ${LZMA_SOURCE}/LzmaEnc.c ${LZMA_SOURCE}/LzFind.c -x none)
set(LZMA_ENCODER_SOURCES ${LZMA_SOURCE}/LzmaEnc.c ${LZMA_SOURCE}/LzFind.c)

# trelliq_lzma([ENCODER]): the static library lzmadec (the decoder), for whichever toolchain
# builds; with ENCODER also lzmaenc.
function(trelliq_lzma)
  cmake_parse_arguments(L "ENCODER" "" "" ${ARGN})
  add_library(lzmadec STATIC ${LZMA_SOURCE}/LzmaDec.c)
  target_include_directories(lzmadec SYSTEM PUBLIC ${LZMA_SOURCE})
  if(L_ENCODER)
    add_library(lzmaenc STATIC ${LZMA_ENCODER_SOURCES})
    target_compile_definitions(lzmaenc PUBLIC _7ZIP_ST)
    target_include_directories(lzmaenc SYSTEM PUBLIC ${LZMA_SOURCE})
  endif()
endfunction()

# libbzip2 from Debian's bzip2 source package and GoogleTest from the machine's
# sources, both cross-built with the project's toolchain.

file(GLOB bzip2_dirs ${PROJECT_SOURCE_DIR}/third_party/bzip2-*)
list(FILTER bzip2_dirs EXCLUDE REGEX "\\.(tar|dsc|gz|xz)")
if(NOT bzip2_dirs)
  message(FATAL_ERROR "bzip2 sources missing: run tools/bootstrap")
endif()
list(GET bzip2_dirs 0 bzip2_dir)
add_library(bz2 STATIC
  ${bzip2_dir}/blocksort.c ${bzip2_dir}/huffman.c ${bzip2_dir}/crctable.c
  ${bzip2_dir}/randtable.c ${bzip2_dir}/compress.c ${bzip2_dir}/decompress.c
  ${bzip2_dir}/bzlib.c)
target_include_directories(bz2 SYSTEM PUBLIC ${bzip2_dir})
# setup.exe only decompresses: with a section per function the linker drops the compressor
# (38 KB). Without unwind tables, which MinGW's linker would otherwise take as references
# keeping every function; no C++ exception ever passes through libbzip2.
target_compile_options(bz2 PRIVATE -ffunction-sections -fno-asynchronous-unwind-tables)

set(GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

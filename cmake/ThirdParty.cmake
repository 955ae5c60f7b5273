# libbzip2 from Debian's bzip2 source package, the LZMA decoder from Debian's lzma-dev and
# GoogleTest from the machine's sources, all cross-built with the project's toolchain.

include(${CMAKE_CURRENT_LIST_DIR}/Bzip2.cmake)
trelliq_bzip2(${PROJECT_SOURCE_DIR})
# setup.exe only decompresses: with a section per function the linker drops the compressor
# (38 KB). Without unwind tables, which MinGW's linker would otherwise take as references
# keeping every function; no C++ exception ever passes through libbzip2.
# The decoder's move-to-front loops shift a few bytes at a time: left as loops, not turned
# into calls of the system's memmove, which cost a tenth of the decoding time under Wine.
target_compile_options(bz2 PRIVATE -ffunction-sections -fno-asynchronous-unwind-tables
                       -fno-tree-loop-distribute-patterns)
# Without the C library's stdio (the file functions and the messages to stderr that a GUI
# program cannot show, 25 KB of printf): an internal error goes to bz_internal_error,
# which archive/BzipInternalError.cpp defines.
target_compile_definitions(bz2 PUBLIC BZ_NO_STDIO)

include(${CMAKE_CURRENT_LIST_DIR}/Lzma.cmake)
trelliq_lzma()
# The decoder alone, built for speed like libbzip2; no unwind tables, as no C++ exception
# passes through it.
target_compile_options(lzmadec PRIVATE -ffunction-sections -fno-asynchronous-unwind-tables)

set(GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

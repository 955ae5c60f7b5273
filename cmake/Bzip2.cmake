# trelliq_bzip2(SOURCE_ROOT): the static library bz2 from the bzip2 sources that
# tools/bootstrap unpacked under SOURCE_ROOT/third_party, for whichever toolchain builds.
function(trelliq_bzip2 root)
  file(GLOB bzip2_dirs ${root}/third_party/bzip2-*)
  list(FILTER bzip2_dirs EXCLUDE REGEX "\\.(tar|dsc|gz|xz)")
  if(NOT bzip2_dirs)
    message(FATAL_ERROR "bzip2 sources missing: run tools/bootstrap")
  endif()
  list(GET bzip2_dirs 0 dir)
  add_library(bz2 STATIC
    ${dir}/blocksort.c ${dir}/huffman.c ${dir}/crctable.c ${dir}/randtable.c
    ${dir}/compress.c ${dir}/decompress.c ${dir}/bzlib.c)
  target_include_directories(bz2 SYSTEM PUBLIC ${dir})
endfunction()

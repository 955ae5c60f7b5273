# The payload that setup.exe carries as resource 150: the host's payload builder, the demo
# product with its programs, and the resource itself.

# The builder runs on the build machine, so the host's compiler builds it, not this
# project's cross compiler. It uses the host's libbz2 and the LZMA SDK's encoder.
find_program(HOST_CXX NAMES c++ g++ REQUIRED)
set(PACK_PAYLOAD ${PROJECT_BINARY_DIR}/tools/pack-payload)
file(GLOB pack_payload_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/payload/*.cpp)
file(GLOB pack_payload_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/payload/*.h)
add_custom_command(OUTPUT ${PACK_PAYLOAD}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/tools
  COMMAND ${HOST_CXX} -std=c++17 -O2 -Wall -Wextra -I${PROJECT_SOURCE_DIR}
          ${pack_payload_sources} ${LZMA_ENCODER_ARGUMENTS} -lbz2 -o ${PACK_PAYLOAD}
  DEPENDS ${pack_payload_sources} ${pack_payload_headers} ${PROJECT_SOURCE_DIR}/archive/TeaKey.h
          ${PROJECT_SOURCE_DIR}/archive/LzmaFormat.h
  COMMENT "Building the payload builder with the host's compiler"
  VERBATIM)
add_custom_target(pack_payload DEPENDS ${PACK_PAYLOAD})

# The payload's codec: bzip2 (the default), or LZMA (smaller, and faster to decode).
set(TRELLIQ_CODEC bzip2 CACHE STRING "Codec of the payload: bzip2 or lzma")
set_property(CACHE TRELLIQ_CODEC PROPERTY STRINGS bzip2 lzma)
if(NOT TRELLIQ_CODEC MATCHES "^(bzip2|lzma)$")
  message(FATAL_ERROR "TRELLIQ_CODEC is bzip2 or lzma, not ${TRELLIQ_CODEC}")
endif()
# Rewritten only when the codec changes: the payloads depend on it, as make would not see
# a changed command line.
set(TRELLIQ_CODEC_STAMP ${PROJECT_BINARY_DIR}/payload-codec.txt)
file(CONFIGURE OUTPUT ${TRELLIQ_CODEC_STAMP} CONTENT "${TRELLIQ_CODEC}\n")

# trelliq_payload(output folder [CODEC codec] DEPENDS files...): output is folder packed by
# the builder with codec (TRELLIQ_CODEC when not given), made again whenever the builder or
# one of the files changes.
function(trelliq_payload output folder)
  cmake_parse_arguments(P "" "CODEC" "DEPENDS" ${ARGN})
  if(NOT P_CODEC)
    set(P_CODEC ${TRELLIQ_CODEC})
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${PACK_PAYLOAD} --codec ${P_CODEC} ${folder} ${output}
    DEPENDS ${PACK_PAYLOAD} ${TRELLIQ_CODEC_STAMP} ${P_DEPENDS}
    COMMENT "Packing ${folder}"
    VERBATIM)
endfunction()

# The demo product: the text files of demo/product and our own small programs, staged
# together in the build tree. Every staged file gets the same fixed modification time, so
# that the payload (which carries each file's time) does not depend on when the sources
# were checked out or the programs built: 2000-01-01 00:00:00 UTC, an even number of
# seconds as FAT file times need.
set(TRELLIQ_DEMO_PRODUCT ${PROJECT_SOURCE_DIR}/demo/product)
set(TRELLIQ_DEMO_TIME 946684800)
set(TRELLIQ_PRODUCT ${TRELLIQ_DEMO_PRODUCT} CACHE PATH
    "Product folder that setup.exe installs (default: the demo product with its programs)")

function(trelliq_demo_program target source output_name folder subsystem)
  add_executable(${target} ${subsystem} ${PROJECT_SOURCE_DIR}/demo/programs/${source})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output_name}
                        RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/demo/${folder})
  # Small stripped programs keep the demo payload small.
  target_compile_options(${target} PRIVATE -Os)
  target_link_options(${target} PRIVATE -s)
  trelliq_warnings(${target})
endfunction()
trelliq_demo_program(demo_trqc commandLine.cpp trqc bin "")
trelliq_demo_program(demo_coverage_browser coverageBrowser.cpp coverageBrowser bin WIN32)
trelliq_demo_program(demo_numega_cl commandLine.cpp cl numega "")
trelliq_demo_program(demo_numega_link commandLine.cpp link numega "")

get_filename_component(product ${TRELLIQ_PRODUCT} ABSOLUTE)
if(product STREQUAL TRELLIQ_DEMO_PRODUCT)
  set(TRELLIQ_PRODUCT_FOLDER ${PROJECT_BINARY_DIR}/demo/product)
  file(GLOB_RECURSE demo_files CONFIGURE_DEPENDS LIST_DIRECTORIES true ${TRELLIQ_DEMO_PRODUCT}/*)
  list(APPEND demo_files ${TRELLIQ_DEMO_PRODUCT})
  set(stamp ${PROJECT_BINARY_DIR}/demo/product.stamp)
  set(stage ${TRELLIQ_PRODUCT_FOLDER})
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${TRELLIQ_DEMO_PRODUCT} ${stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/bin
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:demo_trqc> $<TARGET_FILE:demo_coverage_browser> ${stage}/bin
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:demo_numega_cl> $<TARGET_FILE:demo_numega_link> ${stage}/numega
    COMMAND find ${stage} -type f -exec touch -d @${TRELLIQ_DEMO_TIME} {} +
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${demo_files} demo_trqc demo_coverage_browser demo_numega_cl demo_numega_link
    COMMENT "Staging the demo product"
    VERBATIM)
  set(product_depends ${stamp})
else()
  set(TRELLIQ_PRODUCT_FOLDER ${product})
  # The folders too: removing a file changes only its folder's time.
  file(GLOB_RECURSE product_depends CONFIGURE_DEPENDS LIST_DIRECTORIES true ${product}/*)
  list(APPEND product_depends ${product})
endif()

set(TRELLIQ_PAYLOAD ${PROJECT_BINARY_DIR}/payload.bin)
trelliq_payload(${TRELLIQ_PAYLOAD} ${TRELLIQ_PRODUCT_FOLDER} DEPENDS ${product_depends})
add_custom_target(payload ALL DEPENDS ${TRELLIQ_PAYLOAD})

# trelliq_embed_payload(target rc-file): resource 150 of target is the payload.
function(trelliq_embed_payload target rc)
  file(CONFIGURE OUTPUT ${rc} CONTENT "// The payload, resource 150 (made by the build).
#include \"resources/resource.h\"

IDR_PAYLOAD RCDATA \"${TRELLIQ_PAYLOAD}\"
")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${TRELLIQ_PAYLOAD})
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} payload)
endfunction()
trelliq_embed_payload(setup_exe ${PROJECT_BINARY_DIR}/payload.rc)

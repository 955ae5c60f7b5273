# The benchmark's programs (bench/run configures with -DTRELLIQ_BENCH=ON; no test uses them).

# setup.exe reports the decoder thread's busy time and the extraction's waiting time to the
# file named by TRELLIQ_DECODE_TIMES (setup/ProductExtraction.cpp).
target_compile_definitions(setup PRIVATE TRELLIQ_BENCH_TIMES)

# decode-floor: the stream stack alone over the same payload as setup.exe.
add_executable(decode_floor ${PROJECT_SOURCE_DIR}/bench/decodeFloor.cpp)
set_target_properties(decode_floor PROPERTIES OUTPUT_NAME decode-floor)
target_link_libraries(decode_floor PRIVATE archive)
trelliq_warnings(decode_floor)
trelliq_embed_payload(decode_floor ${PROJECT_BINARY_DIR}/bench/decodeFloorPayload.rc)

# setup-empty.exe: setup.exe built the same way around an empty product, for its size.
set(empty_product ${PROJECT_BINARY_DIR}/bench/empty-product)
file(MAKE_DIRECTORY ${empty_product})
set(empty_payload ${PROJECT_BINARY_DIR}/bench/empty-payload.bin)
trelliq_payload(${empty_payload} ${empty_product})
set(empty_rc ${PROJECT_BINARY_DIR}/bench/emptyPayload.rc)
file(CONFIGURE OUTPUT ${empty_rc} CONTENT "#include \"resources/resource.h\"
IDR_PAYLOAD RCDATA \"${empty_payload}\"
")
set_source_files_properties(${empty_rc} PROPERTIES OBJECT_DEPENDS ${empty_payload})
get_target_property(setup_sources setup_exe SOURCES)
list(FILTER setup_sources EXCLUDE REGEX "payload\\.rc$")
add_executable(setup_empty WIN32 ${setup_sources} ${empty_rc})
set_target_properties(setup_empty PROPERTIES OUTPUT_NAME setup-empty)
foreach(property LINK_LIBRARIES LINK_OPTIONS COMPILE_OPTIONS COMPILE_DEFINITIONS)
  get_target_property(value setup_exe ${property})
  if(value)
    set_property(TARGET setup_empty PROPERTY ${property} ${value})
  endif()
endforeach()

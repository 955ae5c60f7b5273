# Helpers that turn a source folder into a library and a test folder into one test program.

function(trelliq_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# The program's own code is compiled for size: setup.exe is downloaded and started far more
# often than any of its code runs for long, and the time goes to libbzip2 (built for speed).
# Without run-time type information: nothing asks for it (Object::kind stands in), and its
# tables cost 2 KB. With the stack protector on every function that has an array or takes a
# local's address: setup.exe runs elevated on input it did not make (paths, registry values,
# the command line). Its guard and failure are the program's own (foundation/StackGuard.cpp).
# With _FORTIFY_SOURCE=2, which MinGW-w64's string.h, stdio.h and io.h honour where the
# compiler knows the destination's size (memcpy becomes libssp's __memcpy_chk, and so on).
function(trelliq_compact target)
  target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Os -D_FORTIFY_SOURCE=2> -fno-rtti
                         -fstack-protector-strong)
endfunction()

# trelliq_layer(name [DEPENDS layers...] [LIBS system-libs...] [EXCLUDE files...])
function(trelliq_layer name)
  cmake_parse_arguments(L "" "" "DEPENDS;LIBS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${name}/*.cpp)
  foreach(skip IN LISTS L_EXCLUDE)
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${name}/${skip})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_DEPENDS} ${L_LIBS})
    trelliq_warnings(${name})
    trelliq_compact(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_DEPENDS} ${L_LIBS})
  endif()
endfunction()

# trelliq_test_program(folder LINK libraries...): tests/<folder>/*.cpp as one GoogleTest
# program, registered as one ctest test that runs under Wine.
function(trelliq_test_program folder)
  cmake_parse_arguments(T "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${folder})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${T_LINK} gtest_main gtest)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  trelliq_warnings(${target})
  trelliq_test(${folder} WINE ${target})
endfunction()

# trelliq_test(name WINE|STATIC command...): one ctest test, named "<arch>.<name>" after the
# build's architecture. A WINE test runs in the run's Wine world (label "wine") and learns
# the architecture from TRELLIQ_ARCH and WINE_ENV_ARCH; a STATIC one needs no Windows
# (label "static"), so it runs also where the programs themselves cannot.
function(trelliq_test name kind)
  set(test ${TRELLIQ_ARCH}.${name})
  add_test(NAME ${test} COMMAND ${ARGN})
  if(kind STREQUAL WINE)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine LABELS wine TIMEOUT 600
                         ENVIRONMENT "TRELLIQ_ARCH=${TRELLIQ_ARCH};WINE_ENV_ARCH=${TRELLIQ_WINE_ARCH}")
  else()
    set_tests_properties(${test} PROPERTIES LABELS static TIMEOUT 120)
  endif()
endfunction()

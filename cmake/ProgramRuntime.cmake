# The C++ runtime that setup.exe links: libstdc++, libgcc and libgcc_eh of MinGW-w64's win32
# thread model, not those of the posix model that the compilers use (and the test programs,
# whose GoogleTest needs std::mutex). The posix model's runtime brings libwinpthread, which
# imports functions of Windows XP and Vista (AddVectoredExceptionHandler, GetTickCount64):
# the loader of every older Windows refuses such a program before it runs. The win32
# model's runtime locks and keeps thread data with what Windows 95 has. The program's own
# code uses no thread of the standard library (foundation/Thread.h stands in), so its objects
# link against either runtime; -no-pthread leaves libwinpthread off the link, so that a
# reference to it fails the link instead of bringing it back.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
                OUTPUT_VARIABLE compiler_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(compiler_runtime ${compiler_libgcc} DIRECTORY)
string(REGEX REPLACE "-posix$" "-win32" TRELLIQ_PROGRAM_RUNTIME ${compiler_runtime})
if(NOT EXISTS ${TRELLIQ_PROGRAM_RUNTIME}/libstdc++.a)
  message(FATAL_ERROR "No win32 thread-model runtime at ${TRELLIQ_PROGRAM_RUNTIME} "
                      "(tools/bootstrap installs g++-mingw-w64-*-win32)")
endif()

# trelliq_program_runtime(target): target links the win32 thread-model runtime.
function(trelliq_program_runtime target)
  target_link_options(${target} PRIVATE -L${TRELLIQ_PROGRAM_RUNTIME} -no-pthread)
endfunction()

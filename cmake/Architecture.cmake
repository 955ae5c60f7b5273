# The architecture this build tree makes programs for, from its toolchain: x86 (i686, the
# program we ship) or x64 (x86_64). Every test's name starts with it ("x64.e2e_install").
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TRELLIQ_ARCH x64)
  # The Wine prefix a program of this architecture runs in.
  set(TRELLIQ_WINE_ARCH win64)
else()
  set(TRELLIQ_ARCH x86)
  set(TRELLIQ_WINE_ARCH win32)
endif()

# trelliq_c_symbol(out name): name as the linker sees a C symbol of that name: i686
# prefixes an underscore, x86_64 does not.
function(trelliq_c_symbol out name)
  if(TRELLIQ_ARCH STREQUAL x86)
    set(${out} _${name} PARENT_SCOPE)
  else()
    set(${out} ${name} PARENT_SCOPE)
  endif()
endfunction()

# Compiler-specific settings, kept behind compiler checks so that Visual Studio
# (cmake -A Win32) can configure the same tree.

# Programs and DLLs that must run on a Windows with nothing else installed:
# the GCC runtime is linked in, so no MinGW DLL is needed beside them.
function(quorrel_standalone target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  elseif(MSVC)
    set_property(TARGET ${target} PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  endif()
endfunction()

# MSVC first: clang-cl is Clang too, and reads -Wall as -Weverything.
function(quorrel_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  endif()
endfunction()

# Code that runs inside Excel's process without the C runtime: no
# exceptions, no type info, and on 32-bit no DWARF unwind tables (32-bit
# Windows does not unwind through them; they would be a dead .eh_frame).
# With ENTRY, the target is a DLL whose loader entry is that stdcall function
# (three arguments, as DllMain): linked without the C runtime's start-up,
# stripped, without a build time in its header, with ASLR and DEP.
function(quorrel_runtime_free target)
  cmake_parse_arguments(ARG "" "ENTRY" "" ${ARGN})
  if(MSVC)
    # The options of a Visual C++ build of a DLL without the C runtime: no
    # buffer-security cookie (the runtime provides it), no default libraries
    # named in the objects, no exceptions or type info; a reproducible image.
    target_compile_options(${target} PRIVATE /GS- /Zl /GR- /EHs-c- /Brepro)
    set_property(TARGET ${target} PROPERTY MSVC_RUNTIME_LIBRARY MultiThreaded)
    if(ARG_ENTRY)
      target_link_options(${target} PRIVATE /NODEFAULTLIB /ENTRY:${ARG_ENTRY} /DYNAMICBASE /NXCOMPAT /Brepro
                          /OPT:REF /OPT:ICF /MANIFEST:NO /INCREMENTAL:NO)
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        # The image installs no SEH handler; lld-link (not Visual C++'s
        # link.exe) can also mark it so, as MinGW's --no-seh does.
        target_link_options(${target} PRIVATE /SAFESEH:NO $<$<STREQUAL:${CMAKE_LINKER},${LLD_LINK}>:/noseh>)
      else()
        target_link_options(${target} PRIVATE /HIGHENTROPYVA)
      endif()
    endif()
    return()
  endif()
  if(NOT MINGW)
    return()
  endif()
  # Each function starts a 64-byte line of code, so that where the linker
  # happens to place a short entry never costs it a second fetch, and the
  # add-in and the limits it is measured against differ only in their code.
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-stack-protector -falign-functions=64)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
  endif()
  if(NOT ARG_ENTRY)
    return()
  endif()
  target_link_options(${target} PRIVATE -nostdlib -s -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-insert-timestamp)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # The toolchain's -pthread and the static runtime options mean nothing to
    # a link without the C runtime; clang says so for each.
    target_link_options(${target} PRIVATE -Wno-unused-command-line-argument)
  else()
    # GNU ld would take a DLL's base address from a hash of the output's name
    # as the link names it, which differs with the folder the link runs in
    # (make links from the target's folder, Ninja from the tree's top). Its
    # fixed default keeps the image the same bytes wherever it is built; ASLR
    # moves it at load time all the same.
    target_link_options(${target} PRIVATE -Wl,--disable-auto-image-base)
  endif()
  target_link_libraries(${target} PRIVATE kernel32 gcc)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,-e,_${ARG_ENTRY}@12
      -Wl,--enable-stdcall-fixup   # plain names in the .def file match the stdcall symbols
      -Wl,--no-seh)                # the image installs no SEH handler
  else()
    target_link_options(${target} PRIVATE -Wl,-e,${ARG_ENTRY} -Wl,--high-entropy-va)
  endif()
endfunction()

# Links the target with an import library made from a .def file, so the
# loader binds each entry by its undecorated name, or by its ordinal where
# the entry is NONAME. The .def file writes 32-bit stdcall decorations
# (Excel4v@16); 64-bit code has one calling convention and none.
function(quorrel_import_library target scope def)
  get_filename_component(name ${def} NAME_WE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    file(READ ${def} content)
    string(REGEX REPLACE "([A-Za-z0-9_])@[0-9]+" "\\1" content "${content}")
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
    # Written only when its content changes, so a configure relinks nothing.
    file(CONFIGURE OUTPUT ${def} CONTENT "${content}" @ONLY)
  endif()
  if(MINGW)
    set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
    set(command ${CMAKE_DLLTOOL} --kill-at --input-def ${def} --output-lib ${lib})
  else()
    set(lib ${CMAKE_CURRENT_BINARY_DIR}/${name}.lib)
    set(machine i386)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      set(machine i386:x86-64)
    endif()
    set(command ${CMAKE_DLLTOOL} -m ${machine} -k -d ${def} -l ${lib})
  endif()
  add_custom_command(OUTPUT ${lib} COMMAND ${command} DEPENDS ${def} COMMENT "Import library for ${name}.dll")
  add_custom_target(${name}_implib DEPENDS ${lib})
  add_dependencies(${target} ${name}_implib)
  target_link_libraries(${target} ${scope} ${lib})
endfunction()

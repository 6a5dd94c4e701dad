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

function(quorrel_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  elseif(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  endif()
endfunction()

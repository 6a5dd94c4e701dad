# 32-bit Windows, for 32-bit Excel, built with clang-cl in the Visual C++ ABI.
set(CLANG_CL_TARGET i686-pc-windows-msvc)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/clang-cl.cmake)

# 64-bit Windows, for 64-bit Excel, built with clang-cl in the Visual C++ ABI.
set(CLANG_CL_TARGET x86_64-pc-windows-msvc)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/clang-cl.cmake)

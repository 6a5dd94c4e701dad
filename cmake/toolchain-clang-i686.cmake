# 32-bit Windows, for 32-bit Excel, built with clang++ and lld.
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)

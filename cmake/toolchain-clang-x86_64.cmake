# 64-bit Windows, for 64-bit Excel, built with clang++ and lld.
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)

# 64-bit Excel: Debian's MinGW-w64 cross compiler.
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

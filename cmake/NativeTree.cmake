# A tree built for Linux (tests/native, tests/fuzz, packaging/native): C++17,
# everything under AddressSanitizer and UndefinedBehaviorSanitizer unless
# XLLHOST_SANITIZE is off, and xllhost's layers that
# build on any system, the engine and what it rests on and the readers of
# files. The host's header declares XCHAR as a UTF-16 unit, which wchar_t is
# on Windows: -fshort-wchar makes it so here, and nothing built natively
# uses the C++ library's wide text.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
option(XLLHOST_SANITIZE "build under ASan and UBSan" ON)
if(XLLHOST_SANITIZE)
  add_compile_options(-g -O1 -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/Toolchain.cmake)
add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../xllhost ${CMAKE_BINARY_DIR}/xllhost)
target_compile_options(xllhost_records PUBLIC -fshort-wchar)

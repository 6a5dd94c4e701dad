# Builds the whole tree with clang++ and lld for MinGW-w64, beside the GCC
# build of the same target: the same headers, libraries and Wine, a second
# compiler. The toolchain file of each target sets MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CLANG NAMES clang clang-14 HINTS /usr/lib/llvm-14/bin REQUIRED)
find_program(CLANGXX NAMES clang++ clang++-14 HINTS /usr/lib/llvm-14/bin REQUIRED)
set(CMAKE_C_COMPILER ${CLANG})
set(CMAKE_CXX_COMPILER ${CLANGXX})
set(CMAKE_C_COMPILER_TARGET ${MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_TRIPLE})
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${MINGW_TRIPLE}-dlltool)

# Clang 14 does not find Debian's MinGW GCC of the posix thread model by
# itself: the sysroot, its libstdc++ headers and its libraries are named here.
set(gcc_dir /usr/lib/gcc/${MINGW_TRIPLE}/12-posix)
set(CMAKE_SYSROOT /usr/${MINGW_TRIPLE})
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${MINGW_TRIPLE} -isystem ${gcc_dir}/include/c++/backward")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir} -pthread")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir} -pthread")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir} -pthread")

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)

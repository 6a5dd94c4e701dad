# Builds the add-in with clang-cl and lld-link in the ABI of Visual C++, with
# no Windows SDK and no C runtime: only the host layer and the add-in, whose
# tests run in a MinGW build pointed at it (QUORREL_ADDIN). The toolchain file
# of each target sets CLANG_CL_TARGET and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(QUORREL_NO_SDK ON)  # import libraries and version-resource constants are the project's own

find_program(CLANG_CL NAMES clang-cl clang-cl-14 HINTS /usr/lib/llvm-14/bin REQUIRED)
find_program(LLD_LINK NAMES lld-link lld-link-14 HINTS /usr/lib/llvm-14/bin REQUIRED)
find_program(LLVM_RC NAMES llvm-rc llvm-rc-14 HINTS /usr/lib/llvm-14/bin REQUIRED)
find_program(LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 HINTS /usr/lib/llvm-14/bin REQUIRED)
find_program(LLVM_LIB NAMES llvm-lib llvm-lib-14 HINTS /usr/lib/llvm-14/bin REQUIRED)

set(CMAKE_C_COMPILER ${CLANG_CL})
set(CMAKE_CXX_COMPILER ${CLANG_CL})
set(CMAKE_C_COMPILER_TARGET ${CLANG_CL_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${CLANG_CL_TARGET})
set(CMAKE_RC_COMPILER ${LLVM_RC})
set(CMAKE_LINKER ${LLD_LINK})
set(CMAKE_AR ${LLVM_LIB})
set(CMAKE_DLLTOOL ${LLVM_DLLTOOL})
set(CMAKE_MT "")

# No C runtime or SDK libraries to link a test program with.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

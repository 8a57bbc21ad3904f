# Cross build for 64-bit Windows with Debian's mingw-w64 toolchain (POSIX thread model, so that
# std::thread and std::mutex are available). Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NUMORA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${NUMORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NUMORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${NUMORA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NUMORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their compiler runtime (libstdc++, libgcc, winpthread) inside, so they run
# from any folder without the mingw DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under wine on the build machine (CTest puts the emulator in front of them).
find_program(NUMORA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NUMORA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${NUMORA_WINE})
endif()

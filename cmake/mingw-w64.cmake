# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix thread
# model, so that std::thread and std::mutex exist), and runs what it builds
# through Wine: CTest starts every test program with the emulator below.
#
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RILO_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${RILO_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${RILO_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${RILO_MINGW_TRIPLE}-windres REQUIRED)

# Headers and libraries of the target come from the MinGW-w64 sysroot only;
# programs run during the build are the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${RILO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The plain emulator; the tests replace it with scripts/wine-run, which also
# prepares the Wine prefix in the build folder.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(RILO_WINE NAMES wine wine64)
    if(RILO_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${RILO_WINE})
    endif()
endif()

# What both mingw-w64 toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR and TVX_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
# The posix thread model: GoogleTest and the standard library's threads need it.
set(CMAKE_C_COMPILER ${TVX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TVX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TVX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TVX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: Wine then needs no mingw runtime DLLs on its path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Every cross-built test runs through Wine in a prefix of the build's own, booted on first use.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)

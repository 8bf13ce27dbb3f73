# Cross-builds the Windows program with MinGW-w64 for CMAKE_SYSTEM_PROCESSOR
# (set by the file that includes this one), POSIX threads flavour
# (GoogleTest needs std::mutex), everything linked statically.
set(CMAKE_SYSTEM_NAME Windows)
set(triplet ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
find_program(TAVIMO_MINGW_CXX NAMES ${triplet}-g++-posix ${triplet}-c++-posix REQUIRED)
set(CMAKE_CXX_COMPILER ${TAVIMO_MINGW_CXX})
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Nothing beyond Windows' own DLLs at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run the cross-built programs under Wine, in the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR
    bash ${CMAKE_CURRENT_LIST_DIR}/../tests/win32/wine-run.sh ${CMAKE_BINARY_DIR})

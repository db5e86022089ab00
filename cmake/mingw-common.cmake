# The -posix compilers: GoogleTest needs std::mutex, which the win32 thread model lacks.
set(CMAKE_C_COMPILER ${TAVIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVIK_MINGW_PREFIX}-windres)
set(CMAKE_DLLTOOL ${TAVIK_MINGW_PREFIX}-dlltool)
set(CMAKE_OBJDUMP ${TAVIK_MINGW_PREFIX}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the test exes through this wrapper, which enters the build's own Wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)

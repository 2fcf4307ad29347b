# Shared part of the two MinGW-w64 toolchain files; MINGW_TRIPLE is set by the caller.
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Wine runs the test programs of both builds, as scripts/wine-session sets it
# up: its wine64 starts 32-bit programs through the session's 32-bit Wine.
get_filename_component(_wine_session_loader ${CMAKE_CURRENT_LIST_DIR}/../build/wine/loader/lib/wine/wine64 ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_wine_session_loader})

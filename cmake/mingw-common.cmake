set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
# DEPS_PREFIX: where scripts/build-libpng.sh installed libpng for this target.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static zlib: a plain -lz would pick libz.dll.a and the program would need zlib1.dll.
set(ZLIB_LIBRARY /usr/${MINGW_TRIPLE}/lib/libz.a CACHE FILEPATH "")
set(ZLIB_INCLUDE_DIR /usr/${MINGW_TRIPLE}/include CACHE PATH "")

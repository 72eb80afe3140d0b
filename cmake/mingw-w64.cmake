# Settings shared by the Windows toolchain files; NVX4_MINGW_TARGET names the target triplet.
# The -posix compilers give the standard library its thread support (std::thread, std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${NVX4_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NVX4_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${NVX4_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NVX4_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The compiler's runtime (libgcc, libstdc++, winpthread) is linked in statically, so a DLL or
# program built here needs nothing beyond the system's own DLLs. The system libraries still come
# in through their import libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

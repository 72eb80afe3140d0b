# Cross-compiles for 32-bit Windows against the real SDK headers and import libraries.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(NVX4_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

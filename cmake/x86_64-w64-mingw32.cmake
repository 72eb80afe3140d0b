# Cross-compiles for 64-bit Windows against the real SDK headers and import libraries. This is
# the build whose programs run under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(NVX4_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

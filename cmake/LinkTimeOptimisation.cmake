# Release builds with the native GCC optimise the provider library across its static parts
# (Utility, platform, repository): reading one property passes through a dozen small functions
# in four of them, and inlining across them takes about a sixth off an enumeration. Objects
# carry their intermediate code beside their machine code, so the test programs and tools that
# link the same static libraries link as before, without the cost of a whole-program link.
# NVX4_LTO tells the provider library's link to optimise.
set(NVX4_LTO OFF)
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   AND NOT CMAKE_CROSSCOMPILING AND NOT NVX4_SANITIZE)
    include(CheckIPOSupported)
    check_ipo_supported(RESULT nvx4_ipo_supported LANGUAGES CXX)
    if(nvx4_ipo_supported AND CMAKE_CXX_COMPILER_AR AND CMAKE_CXX_COMPILER_RANLIB)
        set(NVX4_LTO ON)
        add_compile_options(-flto=auto -ffat-lto-objects)
        # The archiver wrappers index the intermediate code for the optimising link.
        set(CMAKE_AR ${CMAKE_CXX_COMPILER_AR})
        set(CMAKE_RANLIB ${CMAKE_CXX_COMPILER_RANLIB})
    endif()
endif()

# The Utility unit suites that run unchanged over the real SDK and over the Linux stand-in. Both
# the Linux tests and the Windows test programs build them from these lists.
set(nvx4_utility_tests ${CMAKE_CURRENT_LIST_DIR}/src_utility)

set(nvx4_cdbc_test_sources
    ${nvx4_utility_tests}/cdbc/ErrorCatalogueTest.cpp
    ${nvx4_utility_tests}/cdbc/DBUrlTest.cpp
    ${nvx4_utility_tests}/cdbc/DBTypeTest.cpp
)

set(nvx4_trace_test_sources
    ${nvx4_utility_tests}/public/ConsoleTraceTest.cpp
    ${nvx4_utility_tests}/public/FileTraceTest.cpp
    ${nvx4_utility_tests}/public/TraceTextTest.cpp
)

set(nvx4_host_name_test_sources ${nvx4_utility_tests}/public/DottedQuadTest.cpp)

# The WMI driver suite runs over the stand-in here and over the machine's own service there; each
# side adds its WMITestService.cpp.
set(nvx4_wmi_test_sources
    ${nvx4_utility_tests}/wmi/WMIExceptionTest.cpp
    ${nvx4_utility_tests}/wmi/CDBCVariantTest.cpp
    ${nvx4_utility_tests}/wmi/WMIDriverTest.cpp
)

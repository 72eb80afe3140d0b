# cmake --install and the Debian package (cpack -G DEB).
install(TARGETS nvx4provider LIBRARY DESTINATION ${NVX4_INSTALL_PROVIDER_DIR})
install(TARGETS nvx4-enum nvx4-mibgen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS nvx4-subagent RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/mibs/NVX4-MIB.txt DESTINATION ${NVX4_INSTALL_MIB_DIR})
configure_file(${PROJECT_SOURCE_DIR}/agent/nvx4-subagent.service.in
               ${PROJECT_BINARY_DIR}/nvx4-subagent.service @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/nvx4-subagent.service DESTINATION ${NVX4_INSTALL_UNIT_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nvx4-provider)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nvx4-provider)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_CONTACT "nvx4 provider developers <nvx4@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "management classes for SNMP agents: provider library, tool, AgentX subagent, MIB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# The shared libraries the programs and the provider link come from dpkg-shlibdeps; snmpd is
# the master agent the subagent serves, and the MIB tools are handy beside it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "snmpd")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "snmp, smitools")
include(CPack)

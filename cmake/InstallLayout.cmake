# Where an installation puts things, by Debian's conventions: programs in bin and sbin, the
# provider (a plug-in loaded with dlopen, not a library to link) in libdir/nvx4, the MIB under
# share/snmp/mibs. Programs find the provider relative to their own folder, so any prefix works.
include(GNUInstallDirs)
set(NVX4_INSTALL_PROVIDER_DIR ${CMAKE_INSTALL_LIBDIR}/nvx4)
set(NVX4_INSTALL_MIB_DIR ${CMAKE_INSTALL_DATADIR}/snmp/mibs)
set(NVX4_INSTALL_UNIT_DIR lib/systemd/system)
set(nvx4_provider_file ${CMAKE_SHARED_LIBRARY_PREFIX}nvx4provider${CMAKE_SHARED_LIBRARY_SUFFIX})
file(RELATIVE_PATH NVX4_PROVIDER_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${NVX4_INSTALL_PROVIDER_DIR}/${nvx4_provider_file})
file(RELATIVE_PATH NVX4_PROVIDER_FROM_SBINDIR ${CMAKE_INSTALL_FULL_SBINDIR}
     ${CMAKE_INSTALL_PREFIX}/${NVX4_INSTALL_PROVIDER_DIR}/${nvx4_provider_file})

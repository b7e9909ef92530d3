# cpack -G DEB in the build folder makes morvask_<version>_<arch>.deb from the install rules.
set(MORVASK_MAINTAINER "Morvask developers <morvask@example.org>"
    CACHE STRING "Maintainer of the Debian package: name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvask)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT ${MORVASK_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MORVASK_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the two programs link (Qt, libmdb, the C++ runtime), as dpkg-shlibdeps finds
# them, so that apt installs what the programs need and no more.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# The synopsis line is the project's DESCRIPTION; this is the text under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Morvask is for radio amateurs who keep their station log with the Windows
logging program Qervel and run it under Wine. It reads the contacts and the
country (DXCC) reference data from Qervel's Access database files, lets the
operator confirm the log, the operator call sign and an optional date range,
and writes the contacts as one ADIF file, adiUpld2Morvask.adi, ready to be
uploaded to an online QSL and log-matching service.
.
Qervel's own files and settings are only read, never changed. The package
holds the desktop program morvask and the command-line exporter
morvask-export, which makes the same file from a script.")

include(CPack)

# Checks of what an operator installs: the installed programs, the Debian package, and the
# desktop entry and AppStream data as desktops and software centres validate them.
add_test(NAME installed_programs
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/installed_programs_test.sh
          ${CMAKE_BINARY_DIR} ${MORVASK_TEST_DATA}/sample ${PROJECT_VERSION})
add_test(NAME debian_package
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/debian_package_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(installed_programs debian_package PROPERTIES TIMEOUT 300)
add_test(NAME desktop_entry_valid COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/res/org.morvask.morvask.desktop)
add_test(NAME appstream_data_valid
  COMMAND appstreamcli validate --no-net ${CMAKE_SOURCE_DIR}/res/org.morvask.morvask.metainfo.xml)

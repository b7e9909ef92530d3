# Checks of what an operator installs: the installed programs, the Debian package, and the
# desktop entry and AppStream data as desktops and software centres validate them.
add_test(NAME installed_programs
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/installed_programs_test.sh
          ${CMAKE_BINARY_DIR} ${MORVASK_TEST_DATA}/sample ${PROJECT_VERSION})
set_tests_properties(installed_programs PROPERTIES TIMEOUT 300)
# Builds the package from a copy of the source tree, which compiles the programs once more.
add_test(NAME debian_package
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/debian_package_test.sh ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION})
set_tests_properties(debian_package PROPERTIES TIMEOUT 1800)
add_test(NAME desktop_entry_valid COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/res/org.morvask.morvask.desktop)
add_test(NAME appstream_data_valid
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/appstream_test.sh ${CMAKE_SOURCE_DIR}/res/org.morvask.morvask.metainfo.xml)
# The desktop program under a headless Wayland compositor, as a native Wayland client.
add_test(NAME wayland_session COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/wayland_session_test.sh ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set_tests_properties(wayland_session PROPERTIES TIMEOUT 120)

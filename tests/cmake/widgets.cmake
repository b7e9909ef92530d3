# Stands in for the exporter in the widget tests, built on the same contract.
add_executable(fake-morvask-export widgets/fake_morvask_export.cpp)
target_link_libraries(fake-morvask-export PRIVATE morvask_cli)

# Widget tests: Qt Test programs on the offscreen platform, one per area of the desktop program.
find_package(Qt6 REQUIRED COMPONENTS Test)
function(morvask_widget_test name)
  add_executable(${name} widgets/${name}.cpp)
  target_link_libraries(${name} PRIVATE morvask_ui Qt6::Test)
  target_compile_definitions(${name} PRIVATE
    MORVASK_TEST_DATA="${MORVASK_TEST_DATA}"
    MORVASK_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    MORVASK_FAKE_WORKER="$<TARGET_FILE:fake-morvask-export>")
  add_dependencies(${name} fake-morvask-export)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

morvask_widget_test(tst_ui_logic)
morvask_widget_test(tst_run_settings_dlg)
morvask_widget_test(tst_main_window)
# The main-window tests end with the whole program on the sample log, through the real exporter.
add_dependencies(tst_main_window morvask-export)

# The main window over the accessibility bus, as a screen reader reads it, with a D-Bus
# session, accessibility bus and X server of its own (python3-gi and AT-SPI's typelib).
add_test(NAME atspi_main_window
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/a11y/atspi_main_window.py
    $<TARGET_FILE:morvask> $<TARGET_FILE:morvask-sampledb> $<TARGET_FILE:morvask-export>)
set_tests_properties(atspi_main_window PROPERTIES TIMEOUT 300)

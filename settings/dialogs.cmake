# The run-settings dialog and the dialog-unit layout it shares with the main form: the Qt
# side of the settings, beneath the desktop program that shows it.
add_library(morvask_dialogs STATIC
  settings/CDialogUnits.cpp
  settings/CRunSettingsDlg.cpp
)
target_include_directories(morvask_dialogs PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(morvask_dialogs PUBLIC morvask_engine Qt6::Widgets)

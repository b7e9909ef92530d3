# The desktop program: a thin Qt layer over the engine. Database work runs in the headless
# exporter, so nothing here links the database library.
set(CMAKE_AUTORCC ON)
add_library(morvask_ui STATIC
  ui/CAboutDlg.cpp
  ui/CDialogUnits.cpp
  ui/CExportWorker.cpp
  ui/CMainFrame.cpp
  ui/CMorvaskApp.cpp
  ui/CMorvaskDoc.cpp
  ui/CMorvaskView.cpp
  ui/CProgressPipe.cpp
  ui/CRecentFileList.cpp
  ui/CSingleDocTemplate.cpp
  ui/CWorkerDatabase.cpp
  ui/CWorkerRecordset.cpp
  ui/FailureWording.cpp
  ui/FrameGeometry.cpp
  settings/CRunSettingsDlg.cpp
  res/morvask.qrc
)
target_include_directories(morvask_ui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(morvask_ui PUBLIC morvask_engine morvask_contract Qt6::Widgets)

add_executable(morvask ui/main.cpp)
target_link_libraries(morvask PRIVATE morvask_ui)

# Renders the pictures in the README (scripts/screenshots.sh); not installed.
add_executable(render_screenshots ui/render_screenshots.cpp)
target_link_libraries(render_screenshots PRIVATE morvask_ui)

install(TARGETS morvask RUNTIME DESTINATION bin)
install(FILES res/morvask.desktop DESTINATION share/applications)
install(FILES res/morvask-32.xpm DESTINATION share/icons/hicolor/32x32/apps RENAME morvask.xpm)
install(FILES res/morvask-16.xpm DESTINATION share/icons/hicolor/16x16/apps RENAME morvask.xpm)

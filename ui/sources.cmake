# The desktop program: a thin Qt layer over the engine. Database work runs in the headless
# exporter, so nothing here links the database library.
add_library(morvask_ui STATIC
  ui/CAboutDlg.cpp
  ui/CExportWorker.cpp
  ui/CMainFrame.cpp
  ui/CMorvaskApp.cpp
  ui/CMorvaskDoc.cpp
  ui/CMorvaskView.cpp
  ui/CProgressPipe.cpp
  ui/CRecentFileList.cpp
  ui/CRunAnnouncer.cpp
  ui/CSingleDocTemplate.cpp
  ui/CValueFieldAccessible.cpp
  ui/CWorkerDatabase.cpp
  ui/CWorkerRecordset.cpp
  ui/DisplaySession.cpp
  ui/FailureWording.cpp
  ui/FrameGeometry.cpp
  ui/InstallCheck.cpp
)
target_include_directories(morvask_ui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(morvask_ui PUBLIC morvask_dialogs morvask_contract Qt6::Widgets)
# The window and the about box show the icons rendered from res/morvask.svg.
qt_add_resources(morvask_ui morvask PREFIX /morvask BASE ${MORVASK_ICON_DIR} FILES ${MORVASK_ICON_FILES})

add_executable(morvask ui/main.cpp)
target_link_libraries(morvask PRIVATE morvask_ui)
target_include_directories(morvask PRIVATE ${CMAKE_BINARY_DIR}/generated)
install(TARGETS morvask RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(MORVASK_BUILD_TESTS)
  # Renders the pictures in the README (scripts/screenshots.sh); not installed.
  add_executable(render_screenshots ui/render_screenshots.cpp)
  target_link_libraries(render_screenshots PRIVATE morvask_ui)
endif()

# What an installation holds besides the two programs: icons, desktop entry, AppStream data
# and manual pages. The Debian package adds its copyright file and changelog from debian/.

# Every icon size is rendered from the one drawing, so that the sizes cannot disagree.
set(MORVASK_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(MORVASK_ICON_FILES)
if(MORVASK_BUILD_GUI)
  find_program(RSVG_CONVERT rsvg-convert REQUIRED)
  foreach(size 16 32 48 128 256)
    set(png ${MORVASK_ICON_DIR}/morvask-${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVASK_ICON_DIR}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${CMAKE_SOURCE_DIR}/res/morvask.svg
      DEPENDS ${CMAKE_SOURCE_DIR}/res/morvask.svg
      COMMENT "Rendering the ${size} pixel icon"
      VERBATIM)
    list(APPEND MORVASK_ICON_FILES ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME morvask.png)
  endforeach()
  install(FILES res/morvask.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES res/org.morvask.morvask.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES res/org.morvask.morvask.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# Manual pages are installed compressed, as Debian keeps them;
# -n leaves out the name and time stamp so that the same source gives the same bytes.
set(MORVASK_GZIPPED_DOCS)
function(morvask_gzip source output)
  get_filename_component(plain ${output} NAME_WLE)
  get_filename_component(dir ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${source} ${dir}/${plain}
    COMMAND gzip -9nf ${dir}/${plain}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    VERBATIM)
  set(MORVASK_GZIPPED_DOCS ${MORVASK_GZIPPED_DOCS} ${output} PARENT_SCOPE)
endfunction()

set(pages morvask-export)
if(MORVASK_BUILD_GUI)
  list(APPEND pages morvask)
endif()
foreach(page IN LISTS pages)
  morvask_gzip(man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(morvask_docs ALL DEPENDS ${MORVASK_GZIPPED_DOCS})

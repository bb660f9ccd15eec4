# What an installation holds beside the programs and the data files (those are installed where
# they are built): the manual pages, the systemd unit example for unattended recording, and for
# the window program its desktop entry and icon.

# The manual pages carry the project's version; the date honours SOURCE_DATE_EPOCH.
string(TIMESTAMP KRVDIAG_MAN_DATE "%Y-%m-%d" UTC)
set(KRVDIAG_MAN_PAGES krvdiag-cli krvdiag-sim)
if(TARGET krvdiag)
  list(APPEND KRVDIAG_MAN_PAGES krvdiag)
endif()
foreach(page IN LISTS KRVDIAG_MAN_PAGES)
  configure_file(${PROJECT_SOURCE_DIR}/man/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/resources/examples/krvdiag-record@.service
        DESTINATION ${CMAKE_INSTALL_DATADIR}/krvdiag/examples)

if(TARGET krvdiag)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/krvdiag.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/krvdiag.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

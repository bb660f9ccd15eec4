# The Debian package krvdiag_<version>_<arch>.deb: `cpack -G DEB` in the build directory.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME krvdiag)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KrvDiag")
set(CPACK_PACKAGE_CONTACT "KrvDiag maintainers <krvdiag@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Diagnosis of KRV modular safety controllers over a serial line")
# The summary is the first line; CPack indents the rest and turns empty lines into " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "KrvDiag receives the diagnostic telegrams a KRV safety controller sends on its
own (9600 baud, 8N1), checks them and shows the device picture with every
module and terminal LED, a status window, the CPU error message and a timing
diagram. It records telegrams to protocol files for later playback.

The package holds the window program krvdiag, the command-line tool
krvdiag-cli and the simulated controller krvdiag-sim.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# The libraries come from the programs themselves; the device pictures need a font with their
# texts: Liberation for the faces pictures name (metric-compatible, so text keeps its planned
# width), DejaVu for the rest and as the last fallback. The metafile library is needed only
# while the pictures are drawn at build time.
find_program(KRVDIAG_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KRVDIAG_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-liberation")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, fonts-dejavu-core, fonts-liberation")
  if(TARGET krvdiag)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
           ", libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libfontconfig1")
  endif()
endif()
# The window's file dialogs and standard buttons take Qt's own German texts from this package.
if(TARGET krvdiag)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-translations-l10n")
endif()

include(CPack)

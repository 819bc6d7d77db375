# Where an installed game keeps its files, and the rules that put them there.
include(GNUInstallDirs)

set(STRIDEWELL_APP_ID net.stridewell.Stridewell)
set(STRIDEWELL_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/stridewell)
set(STRIDEWELL_ICON_SIZES 16 22 24 32 48 64 128 256)
set(STRIDEWELL_ICON_DIR ${PROJECT_BINARY_DIR}/icons)

# The front ends look for their bundled data and user guide relative to their own folder, so a
# package unpacked anywhere works as well as one installed under its prefix.
file(RELATIVE_PATH STRIDEWELL_INSTALLED_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/stridewell/data)
file(RELATIVE_PATH STRIDEWELL_INSTALLED_DOCS_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/stridewell/docs)

# Installs the programs, the bundled data, the license, the user guide and, with the windows, the desktop
# entry, the icons and the AppStream metadata; adds the test of an installed copy.
function(sw_install_rules)
  install(TARGETS stridewell-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${STRIDEWELL_INSTALL_SHAREDIR}/data
          FILES_MATCHING PATTERN "*.dat")
  # Where Debian and most distributions look for a package's license.
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/stridewell RENAME copyright)
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs)
    # Globbed so that a guide written after the first configuration is picked up.
    file(GLOB guide CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${STRIDEWELL_INSTALL_SHAREDIR}/docs
            FILES_MATCHING PATTERN "*.htm" PATTERN "*.html" PATTERN "*.css" PATTERN "*.png" PATTERN "*.svg"
                           PATTERN "*.jpg")
  endif()

  set(window OFF)
  if(TARGET stridewell)
    set(window ON)
    install(TARGETS stridewell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/desktop/${STRIDEWELL_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/desktop/${STRIDEWELL_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${PROJECT_SOURCE_DIR}/desktop/${STRIDEWELL_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(DIRECTORY ${STRIDEWELL_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  endif()

  if(STRIDEWELL_TESTS)
    string(REPLACE ";" " " sizes "${STRIDEWELL_ICON_SIZES}")
    add_test(NAME install.InstalledGame
             COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/install-and-check.sh ${PROJECT_BINARY_DIR})
    set_tests_properties(install.InstalledGame PROPERTIES
      ENVIRONMENT "SW_BINDIR=${CMAKE_INSTALL_BINDIR};SW_DATADIR=${CMAKE_INSTALL_DATADIR};SW_WINDOW=${window};SW_VERSION=${PROJECT_VERSION};SW_APP_ID=${STRIDEWELL_APP_ID};SW_ICON_SIZES=${sizes}")
  endif()
endfunction()

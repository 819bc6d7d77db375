# Where an installed game keeps its files, and the rules that put them there.
include(GNUInstallDirs)

set(STRIDEWELL_APP_ID net.stridewell.Stridewell)
# A game's programs go in games/ and its read-only files in share/games/, as Debian's games section
# and the FHS want them.
set(STRIDEWELL_INSTALL_BINDIR games)
set(STRIDEWELL_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/games/stridewell)
set(STRIDEWELL_ICON_SIZES 16 22 24 32 48 64 128 256)
set(STRIDEWELL_ICON_DIR ${PROJECT_BINARY_DIR}/icons)

# The front ends look for their bundled data and user guide relative to their own folder, so a
# package unpacked anywhere works as well as one installed under its prefix.
file(RELATIVE_PATH STRIDEWELL_INSTALLED_DATA_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${STRIDEWELL_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${STRIDEWELL_INSTALL_SHAREDIR}/data)
file(RELATIVE_PATH STRIDEWELL_INSTALLED_SOUNDS_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${STRIDEWELL_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${STRIDEWELL_INSTALL_SHAREDIR}/sounds)
file(RELATIVE_PATH STRIDEWELL_INSTALLED_DOCS_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${STRIDEWELL_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${STRIDEWELL_INSTALL_SHAREDIR}/docs)
# The translations sit where gettext looks for every program's (share/locale), found the same way.
file(RELATIVE_PATH STRIDEWELL_INSTALLED_LOCALE_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${STRIDEWELL_INSTALL_BINDIR}
     ${CMAKE_INSTALL_FULL_LOCALEDIR})

# The build tree gets the same layout, with links to the source's data and guide beside the
# programs in cli/ and ui/: the programs then never carry the folder they were built in.
get_filename_component(STRIDEWELL_BUILD_SHAREDIR ${PROJECT_BINARY_DIR}/cli/${STRIDEWELL_INSTALLED_DATA_FROM_BIN}
                       DIRECTORY)
file(MAKE_DIRECTORY ${STRIDEWELL_BUILD_SHAREDIR})
# The catalogs are made from po/ into the same place of the build tree (po/CMakeLists.txt).
get_filename_component(STRIDEWELL_BUILD_LOCALEDIR ${PROJECT_BINARY_DIR}/cli/${STRIDEWELL_INSTALLED_LOCALE_FROM_BIN}
                       ABSOLUTE)
foreach(folder data docs sounds)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${folder} AND NOT EXISTS ${STRIDEWELL_BUILD_SHAREDIR}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${STRIDEWELL_BUILD_SHAREDIR}/${folder} SYMBOLIC)
  endif()
endforeach()

# The manual pages are made from the programs' own --help and --version, so they cannot drift.
find_program(STRIDEWELL_HELP2MAN help2man)

# Installs the programs, the bundled data, the license, the user guide and, with the windows, the desktop
# entry, the icons and the AppStream metadata; adds the test of an installed copy.
function(sw_install_rules)
  install(TARGETS stridewell-cli RUNTIME DESTINATION ${STRIDEWELL_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${STRIDEWELL_INSTALL_SHAREDIR}/data
          FILES_MATCHING PATTERN "*.dat")
  # Where Debian and most distributions look for a package's holders and license.
  install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/stridewell)
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
    install(TARGETS stridewell RUNTIME DESTINATION ${STRIDEWELL_INSTALL_BINDIR})
    # The race's sounds, made by scripts/make-sounds.
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/sounds/ DESTINATION ${STRIDEWELL_INSTALL_SHAREDIR}/sounds
            FILES_MATCHING PATTERN "*.wav")
    install(FILES ${PROJECT_SOURCE_DIR}/desktop/${STRIDEWELL_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/desktop/${STRIDEWELL_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${PROJECT_SOURCE_DIR}/desktop/${STRIDEWELL_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(DIRECTORY ${STRIDEWELL_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  endif()

  if(STRIDEWELL_HELP2MAN)
    set(pages "")
    foreach(entry "stridewell-cli|play a race day of horse racing bets in a terminal"
                  "stridewell|a race day of horse racing bets that teaches pari-mutuel betting")
      string(REPLACE "|" ";" entry "${entry}")
      list(GET entry 0 program)
      list(GET entry 1 summary)
      if(NOT TARGET ${program})
        continue()
      endif()
      set(page ${PROJECT_BINARY_DIR}/man/${program}.6)
      add_custom_command(OUTPUT ${page}
                         COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${STRIDEWELL_HELP2MAN}
                                 --no-info --section=6 --name=${summary} --output=${page} $<TARGET_FILE:${program}>
                         DEPENDS ${program} VERBATIM
                         COMMENT "Writing the manual page of ${program}")
      list(APPEND pages ${page})
    endforeach()
    add_custom_target(stridewell-man-pages ALL DEPENDS ${pages})
    install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  endif()

  if(STRIDEWELL_TESTS)
    string(REPLACE ";" " " sizes "${STRIDEWELL_ICON_SIZES}")
    set(man OFF)
    if(STRIDEWELL_HELP2MAN)
      set(man ON)
    endif()
    add_test(NAME install.InstalledGame
             COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/install-and-check.sh ${PROJECT_BINARY_DIR})
    set_tests_properties(install.InstalledGame PROPERTIES
      ENVIRONMENT "SW_BINDIR=${STRIDEWELL_INSTALL_BINDIR};SW_DATADIR=${CMAKE_INSTALL_DATADIR};SW_MAN=${man};SW_WINDOW=${window};SW_VERSION=${PROJECT_VERSION};SW_APP_ID=${STRIDEWELL_APP_ID};SW_ICON_SIZES=${sizes}")
  endif()
endfunction()

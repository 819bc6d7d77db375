# The Debian package: scripts/package builds it, scripts/test-package checks it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stridewell)
set(CPACK_PACKAGE_VENDOR "Stridewell")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Stridewell developers <developers@stridewell.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "horse racing game that teaches pari-mutuel betting")
# Debian shows the long description as written: kept to lines a terminal can show.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Bet play money on a simulated race day of twelve races: thirteen bet types"
       "from Win to Pick 6, a tote board with live odds, races animated on a drawn"
       "track, a results chart with payoffs, a racing program with past performances"
       "and a top-ten list. A stable of 200 horses lives on between days."
       "Includes stridewell-cli, the game in a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The libraries' packages come from the programs themselves when dpkg-shlibdeps is at hand;
# the list is the fallback for a machine without dpkg-dev.
find_program(STRIDEWELL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(STRIDEWELL_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(depends "")
else()
  set(depends "libc6, libstdc++6, libgcc-s1")
  if(TARGET stridewell)
    string(APPEND depends ", libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6svg6")
  endif()
endif()
if(TARGET stridewell)
  # Qt finds its display back ends as plugins, which no library dependency names; the GTK theme
  # gives the window the desktop's light or dark palette, and xdg-open opens the user guide.
  if(depends)
    string(APPEND depends ", ")
  endif()
  string(APPEND depends "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme, qt6-wayland, xdg-utils")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")

include(CPack)

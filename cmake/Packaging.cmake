# Installation and the Debian package.
#
# The launcher finds its components beside its own executable, so it is installed into a suite
# folder of its own (/opt/kestrelkit by default) where teams drop their component folders. A link in
# the binary folder starts it from the menu or a terminal; the launcher resolves the link and still
# looks for components beside the real executable.
# On other systems the launcher and its components are laid out by whoever installs them (on
# Windows, beside the Qt libraries that windeployqt gathers): only the executable is installed,
# into the prefix, and no package is made.
if(NOT (UNIX AND NOT APPLE))
    install(TARGETS kestrelkit-launcher RUNTIME DESTINATION .)
    return()
endif()

include(GNUInstallDirs)

set(KK_SUITE_DIR "/opt/kestrelkit" CACHE PATH "Absolute folder the launcher is installed into, beside its components")

install(TARGETS kestrelkit-launcher RUNTIME DESTINATION ${KK_SUITE_DIR})

set(kk_link ${PROJECT_BINARY_DIR}/packaging/kestrelkit-launcher)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
file(CREATE_LINK ${KK_SUITE_DIR}/kestrelkit-launcher ${kk_link} SYMBOLIC)
install(FILES ${kk_link} DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/kestrelkit-launcher.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/kestrelkit-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME kestrelkit-launcher.png)
endforeach()
if(NOT KK_WITH_PACKAGE)
    return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/PackageDocs.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrelkit-launcher)
set(CPACK_PACKAGE_VENDOR "Vessaly Software Solutions, Inc.")
set(CPACK_PACKAGE_CONTACT "Vessaly Software Solutions <support@vessaly.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Launcher for the utilities of a Kestrelkit suite")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Qt runtime libraries the executable links, found by dpkg-shlibdeps: never the -dev packages.
# With activation tokens on Wayland built in, Qt's Wayland client library is one of them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
# Qt's Wayland platform plugin, so that the launcher runs natively on a Wayland desktop rather than
# through XWayland; without it Qt falls back to X11. Qt's own translations, so that the standard
# buttons of the boxes speak the user's language as the launcher's texts do; without them they
# stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Shows one picture button per component folder found beside it\n and starts the component's program when its button is clicked.")
include(CPack)

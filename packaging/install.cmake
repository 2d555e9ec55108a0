# Installs Mervel like a desktop application, and packs the same tree into a .deb (cpack -G DEB).
#
# The program looks for its help in Helpfiles beside the executable, so both live in a private
# folder, lib/mervel, and bin/Mervel is a relative link to it: the program resolves the link to
# the real executable's folder.
include(GNUInstallDirs)

set(MERVEL_APP_ID example.mervel.Mervel)
set(MERVEL_PRIVATE_DIR lib/mervel)
set(packaging ${CMAKE_CURRENT_LIST_DIR})

# Qt comes from the system: the installed program needs no run path of its own.
set_target_properties(mervel PROPERTIES INSTALL_RPATH "")
install(TARGETS mervel RUNTIME DESTINATION ${MERVEL_PRIVATE_DIR})
get_target_property(chm mervel_help CHM_FILE)
install(FILES ${chm} DESTINATION ${MERVEL_PRIVATE_DIR}/Helpfiles)

cmake_path(RELATIVE_PATH MERVEL_PRIVATE_DIR BASE_DIRECTORY ${CMAKE_INSTALL_BINDIR}
    OUTPUT_VARIABLE linkTarget)
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    message(STATUS \"Installing: \${bin}/Mervel -> ${linkTarget}/Mervel\")
    file(CREATE_LINK \"${linkTarget}/Mervel\" \"\${bin}/Mervel\" SYMBOLIC)
")

install(FILES ${packaging}/${MERVEL_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${MERVEL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

get_target_property(iconDir mervel_icons ICON_DIR)
get_target_property(iconSvg mervel_icons ICON_SVG)
foreach(size 16 32 48)
    install(FILES ${iconDir}/mervel-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME mervel.png)
endforeach()
install(FILES ${iconSvg}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME mervel.svg)

# The Debian package. Library dependencies come from dpkg-shlibdeps; the X11 platform plugin is
# loaded at run time, so it is named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mervel)
set(CPACK_PACKAGE_VENDOR "Разработчики Mervel")
set(CPACK_PACKAGE_CONTACT "Mervel developers <team@mervel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "преобразование единиц измерения")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Mervel переводит значения длин, площадей, объемов, скоростей, ускорений,"
    "моментов, углов, времен, сил, давлений и удельных весов из одних единиц"
    "измерения в другие: метрические, английские и старые русские."
    "Справка в формате CHM открывается клавишей F1.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://mervel.example)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xchm | kchmviewer | okular")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

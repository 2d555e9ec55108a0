# Installs Mervel like a desktop application, and packs the same tree into a .deb (cpack -G DEB).
#
# The program looks for its help in Helpfiles beside the executable, so both live in a private
# folder, lib/mervel, and bin/Mervel is a relative link to it: the program resolves the link to
# the real executable's folder.
include(GNUInstallDirs)

set(MERVEL_PRIVATE_DIR lib/mervel)
set(packaging ${CMAKE_CURRENT_LIST_DIR})

# Qt comes from the system: the installed program needs no run path of its own.
set_target_properties(mervel PROPERTIES INSTALL_RPATH "")
install(TARGETS mervel RUNTIME DESTINATION ${MERVEL_PRIVATE_DIR})
# Installed without debug information, comments or notes, the way Debian strips its programs.
install(CODE "
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${MERVEL_PRIVATE_DIR}/$<TARGET_FILE_NAME:mervel>\"
        COMMAND_ERROR_IS_FATAL ANY)
")
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

# Licence, changelog and manual pages, English and Russian, where Debian looks for them. gzip -n
# leaves out the time stamp, so the same sources give the same package.
find_program(MERVEL_GZIP gzip REQUIRED)
set(docDir ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(gzipped)
foreach(source changelog man/mervel.1 man/mervel.ru.1)
    cmake_path(GET source FILENAME name)
    add_custom_command(OUTPUT ${docDir}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${packaging}/${source} ${docDir}/${name}
        COMMAND ${MERVEL_GZIP} -9nf ${docDir}/${name}
        DEPENDS ${packaging}/${source}
        COMMENT "Compressing ${source}"
        VERBATIM)
    list(APPEND gzipped ${docDir}/${name}.gz)
endforeach()
add_custom_target(mervel_docs ALL DEPENDS ${gzipped})
set(docDest ${CMAKE_INSTALL_DATADIR}/doc/mervel)
install(FILES ${packaging}/copyright ${docDir}/changelog.gz DESTINATION ${docDest})
install(FILES ${docDir}/mervel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${docDir}/mervel.ru.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1
    RENAME mervel.1.gz)
# The command is bin/Mervel, so `man Mervel` must find the same pages.
foreach(manDir ${CMAKE_INSTALL_MANDIR}/man1 ${CMAKE_INSTALL_MANDIR}/ru/man1)
    install(CODE "
        file(CREATE_LINK mervel.1.gz
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${manDir}/Mervel.1.gz\" SYMBOLIC)
    ")
endforeach()

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
    "Справка открывается клавишей F1 в собственном окне программы.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://mervel.example)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help window loads chmlib at the first help command, so shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, libchm1")
# Loaded at run time too, and the program works without them: Qt's Wayland platform, and the
# bell sound a refused key plays on a Wayland desktop (the library, its sound server's driver,
# the sound itself).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-dejavu-core, qt6-wayland, libcanberra0, libcanberra-pulse, sound-theme-freedesktop")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# Suites of the shell: the menu commands and the About box, the help file, the install tree.
mervel_test(tst_shell LABEL window HELPFILE SOURCES tst_shell.cpp
    LIBS mervel_shell mervel_window mervel_helpview)
target_compile_definitions(tst_shell PRIVATE CHANGELOG_FILE="${PROJECT_SOURCE_DIR}/packaging/changelog")
# What the start-up makes of the display settings, before Qt sees them.
mervel_test(tst_displaycheck LABEL unit SOURCES tst_displaycheck.cpp LIBS mervel_shell)

# The help file as built beside the executable, and the code page its pages are written in.
mervel_test(tst_shellhelp LABEL help HELPFILE
    SOURCES tst_shellhelp.cpp ${PROJECT_SOURCE_DIR}/help/gen/cp1251.h ${PROJECT_SOURCE_DIR}/help/gen/cp1251.cpp
    LIBS mervel_window)
target_include_directories(tst_shellhelp PRIVATE ${PROJECT_SOURCE_DIR}/help/gen)

# The install tree in a temporary prefix, the desktop files validated, the installed program run.
add_test(NAME tst_install
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tst_install.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(tst_install PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE LABELS package)

# The Debian package made from the same tree.
add_test(NAME tst_install_deb
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tst_install_deb.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(tst_install_deb PROPERTIES TIMEOUT 300 LABELS package)

# The help window on the real help file, and the help command that opens it.
mervel_test(tst_helpwindow LABEL help HELPFILE SOURCES tst_helpwindow.cpp helpfixture.h
    LIBS mervel_shell mervel_window mervel_helpview)
target_compile_definitions(tst_helpwindow PRIVATE HELP_CORPUS="${PROJECT_SOURCE_DIR}/fuzz/help-corpus")

# Help files crafted to cost Qt's layout dearly, one of each kind, made at build time.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(craftedHelp ${CMAKE_CURRENT_BINARY_DIR}/crafted-help)
set(craftedFiles "")
foreach(kind deep-contents deeper-contents long-contents long-index nested-tables pictures
        spanned-cells text nested-lists verst)
    add_custom_command(OUTPUT ${craftedHelp}/${kind}/Mervel.chm
        COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/craftedhelp.py ${kind}
            ${craftedHelp}/${kind}
        COMMAND ${CMAKE_COMMAND} -E chdir ${craftedHelp}/${kind}
            ${MERVEL_CHMCMD} --no-html-scan Mervel.hhp > /dev/null
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/craftedhelp.py
        VERBATIM)
    list(APPEND craftedFiles ${craftedHelp}/${kind}/Mervel.chm)
endforeach()
add_custom_target(crafted_help DEPENDS ${craftedFiles})

# What the help window lays out, and where it opens: on the offscreen screen of 800x800, and of
# 400x400 at twice the scale.
mervel_test(tst_helplimits LABEL help HELPFILE SOURCES tst_helplimits.cpp helpfixture.h
    LIBS mervel_shell mervel_window mervel_helpview)
target_compile_definitions(tst_helplimits PRIVATE CRAFTED_HELP="${craftedHelp}")
add_dependencies(tst_helplimits crafted_help)
# A row that hangs fails there, named, instead of at the suite's timeout.
set_property(TEST tst_helplimits APPEND PROPERTY ENVIRONMENT QTEST_FUNCTION_TIMEOUT=20000)
add_test(NAME tst_helplimits_scale2 COMMAND tst_helplimits fitsTheScreen)
set_tests_properties(tst_helplimits_scale2 PROPERTIES TIMEOUT 120 LABELS help
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;QT_SCALE_FACTOR=2")

# Picker tooltips against the help pages: one set of tables, two views.
mervel_test(tst_unittips LABEL help HELPFILE SOURCES tst_unittips.cpp
    LIBS mervel_window mervel_helpview)

# Keys as a real desktop delivers them under either layout, the menu from the keyboard, Qt's
# own texts.
mervel_test(tst_keys LABEL window SOURCES tst_keys.cpp LIBS mervel_shell mervel_window)

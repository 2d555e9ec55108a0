# Suites of the shell: the menu commands and the About box, the help file, the install tree.
mervel_test(tst_shell SOURCES tst_shell.cpp fakedesktop.h windowfixture.h
    LIBS mervel_shell mervel_window mervel_helpview)
target_compile_definitions(tst_shell PRIVATE CHM_FILE="$<TARGET_FILE_DIR:mervel>/Helpfiles/Mervel.chm")
add_dependencies(tst_shell mervel_help)
# What the start-up makes of the display settings, before Qt sees them.
mervel_test(tst_displaycheck SOURCES tst_displaycheck.cpp LIBS mervel_shell)

# The help file as built beside the executable, and the code page its pages are written in.
mervel_test(tst_shellhelp
    SOURCES tst_shellhelp.cpp ${PROJECT_SOURCE_DIR}/help/gen/cp1251.h ${PROJECT_SOURCE_DIR}/help/gen/cp1251.cpp
    LIBS mervel_window)
target_include_directories(tst_shellhelp PRIVATE ${PROJECT_SOURCE_DIR}/help/gen)
target_compile_definitions(tst_shellhelp PRIVATE CHM_FILE="$<TARGET_FILE_DIR:mervel>/Helpfiles/Mervel.chm")
add_dependencies(tst_shellhelp mervel_help)

# The install tree in a temporary prefix, the desktop files validated, the installed program run.
add_test(NAME tst_install
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tst_install.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(tst_install PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)

# The Debian package made from the same tree.
add_test(NAME tst_install_deb
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tst_install_deb.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(tst_install_deb PROPERTIES TIMEOUT 300)

# The help window on the real help file, and the help command that opens it.
mervel_test(tst_helpwindow SOURCES tst_helpwindow.cpp fakedesktop.h windowfixture.h
    LIBS mervel_shell mervel_window mervel_helpview)
target_compile_definitions(tst_helpwindow PRIVATE CHM_FILE="$<TARGET_FILE_DIR:mervel>/Helpfiles/Mervel.chm"
    HELP_CORPUS="${PROJECT_SOURCE_DIR}/fuzz/help-corpus")
add_dependencies(tst_helpwindow mervel_help)

# Picker tooltips against the help pages: one set of tables, two views.
mervel_test(tst_unittips SOURCES tst_unittips.cpp fakedesktop.h windowfixture.h
    LIBS mervel_window mervel_helpview)
target_compile_definitions(tst_unittips PRIVATE CHM_FILE="$<TARGET_FILE_DIR:mervel>/Helpfiles/Mervel.chm")
add_dependencies(tst_unittips mervel_help)

# Keys as a real desktop delivers them under either layout, the menu from the keyboard, Qt's
# own texts.
mervel_test(tst_keys SOURCES tst_keys.cpp fakedesktop.h windowfixture.h
    LIBS mervel_shell mervel_window)

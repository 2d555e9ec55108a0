# Suites of the shell: the menu commands and the About box, the help file, the install tree.
mervel_test(tst_shell SOURCES tst_shell.cpp fakedesktop.h windowfixture.h LIBS mervel_shell)
target_compile_definitions(tst_shell PRIVATE MERVEL_VERSION="${PROJECT_VERSION}")

# The help file as built beside the executable, and the code page its pages are written in.
mervel_test(tst_shellhelp
    SOURCES tst_shellhelp.cpp ${PROJECT_SOURCE_DIR}/help/gen/cp1251.h ${PROJECT_SOURCE_DIR}/help/gen/cp1251.cpp
    LIBS mervel_convert)
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
set_tests_properties(tst_install_deb PROPERTIES TIMEOUT 120)

# Keys as a real desktop delivers them under either layout, the menu from the keyboard, Qt's
# own texts.
mervel_test(tst_keys SOURCES tst_keys.cpp fakedesktop.h windowfixture.h LIBS mervel_shell)

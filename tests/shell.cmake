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

# Suites of the shell: the menu commands and the About box, the help file, the install tree.
mervel_test(tst_shell SOURCES tst_shell.cpp fakedesktop.h windowfixture.h LIBS mervel_shell)
target_compile_definitions(tst_shell PRIVATE MERVEL_VERSION="${PROJECT_VERSION}")

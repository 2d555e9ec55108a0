mervel_test(tst_stress SOURCES tst_stress.cpp fakedesktop.h windowfixture.h LIBS mervel_window)
set_tests_properties(tst_stress PROPERTIES TIMEOUT 600)

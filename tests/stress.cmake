mervel_test(tst_stress LABEL window TIMEOUT 600 SOURCES tst_stress.cpp LIBS mervel_window)

# Saving a large project: load, change one key, save; our INI engine beside QSettings' IniFormat.
qbm_add_bench(qbm_bench_ini ${CMAKE_CURRENT_LIST_DIR}/ini.cpp LIBS qbm_ini Qt6::Core)

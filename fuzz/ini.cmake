# The INI engine (project files) and the profile store (template library) read any text a user may
# hand them; both must survive it.
qbm_add_fuzzer(ini_bigini ${CMAKE_CURRENT_LIST_DIR}/ini.cpp LIBS qbm_ini)
qbm_add_fuzzer(ini_profile ${CMAKE_CURRENT_LIST_DIR}/ini.cpp LIBS qbm_ini)
target_compile_definitions(fuzz_ini_profile PRIVATE QBM_FUZZ_PROFILE_STORE)

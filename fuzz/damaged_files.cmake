# Workbooks (.xls) and databases (.mdb) arrive damaged: cut short, overwritten in places, or not what
# their name says. Reading them must end in a table or in the reader's error, never in a crash.
qbm_add_fuzzer(damaged_files ${CMAKE_CURRENT_LIST_DIR}/damaged_files.cpp LIBS qbm_core)
target_compile_definitions(fuzz_damaged_files PRIVATE QBM_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data")

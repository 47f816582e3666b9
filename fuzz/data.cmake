# The datasheet text stream, its hexadecimal form and whole project files come from files a user may
# hand the program; reading them must never crash or grow without bound.
qbm_add_fuzzer(datasheet_stream ${CMAKE_CURRENT_LIST_DIR}/data.cpp LIBS qbm_core)
target_compile_definitions(fuzz_datasheet_stream PRIVATE QBM_FUZZ_DATASHEET_STREAM)
qbm_add_fuzzer(hex_stream ${CMAKE_CURRENT_LIST_DIR}/data.cpp LIBS qbm_core)
target_compile_definitions(fuzz_hex_stream PRIVATE QBM_FUZZ_HEX_STREAM)
qbm_add_fuzzer(load_project ${CMAKE_CURRENT_LIST_DIR}/data.cpp LIBS qbm_core)
target_compile_definitions(fuzz_load_project PRIVATE QBM_FUZZ_LOAD_PROJECT)
# Text pasted into the datasheet comes from any program's clipboard.
qbm_add_fuzzer(pasted_text ${CMAKE_CURRENT_LIST_DIR}/data.cpp LIBS qbm_core)
target_compile_definitions(fuzz_pasted_text PRIVATE QBM_FUZZ_PASTED_TEXT)

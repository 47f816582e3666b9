# Delimited text files for the datasheet import come from anywhere; reading them must never crash.
qbm_add_fuzzer(delimited_text ${CMAKE_CURRENT_LIST_DIR}/import.cpp LIBS qbm_core)

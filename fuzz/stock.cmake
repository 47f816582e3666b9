# A label stock folder may hold any file a user or another program put there; reading it must never
# crash, and what it yields must be sound.
qbm_add_fuzzer(stock_reader ${CMAKE_CURRENT_LIST_DIR}/stock.cpp LIBS qbm_core)

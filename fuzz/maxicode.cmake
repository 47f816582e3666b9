# Any Code text, carrier fields and size settings through the MaxiCode component: errors are the
# component's own, never a crash, and a refused change leaves the old state.
qbm_add_fuzzer(maxicode ${CMAKE_CURRENT_LIST_DIR}/maxicode.cpp LIBS qbm_barcode2d)

# Random layouts, label values and symbologies through the preview and the print loop on page images.
qbm_add_fuzzer(output ${CMAKE_CURRENT_LIST_DIR}/output.cpp LIBS qbm_core)

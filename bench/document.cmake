# A keystroke in the constant code of an EAN-13 label (check, redraw, preview, page count), beside one
# ApplyTemplate of the same label, measured in the same run.
qbm_add_bench(qbm_bench_document ${CMAKE_CURRENT_LIST_DIR}/document.cpp LIBS qbm_app)

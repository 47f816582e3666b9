# A page of 21 EAN-13 labels drawn for the preview at screen size, beside the old preview (one label
# picture stretched into every cell) at the same size, measured in the same run.
qbm_add_bench(qbm_bench_preview ${CMAKE_CURRENT_LIST_DIR}/preview.cpp LIBS qbm_app)

# PDF417 symbols per second (encode + render) beside libzint encoding the same data.
qbm_add_bench(qbm_bench_pdf417 ${CMAKE_CURRENT_LIST_DIR}/pdf417.cpp LIBS qbm_barcode2d zint)

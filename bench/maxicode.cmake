# MaxiCode symbols per second (encode + render) beside libzint encoding the same mode 4 message.
qbm_add_bench(qbm_bench_maxicode ${CMAKE_CURRENT_LIST_DIR}/maxicode.cpp LIBS qbm_barcode2d zint)

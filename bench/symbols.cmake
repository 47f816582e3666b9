# QR Code, Data Matrix and Aztec symbols per second (encode + render) beside libzint's own encode and
# raster output for the same texts.
qbm_add_bench(qbm_bench_symbols ${CMAKE_CURRENT_LIST_DIR}/symbols.cpp LIBS qbm_symbols zint)

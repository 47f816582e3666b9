# Code 128 / EAN-128 and EAN / UPC symbols per second: our BuildPattern and Draw beside libzint.
qbm_add_bench(qbm_bench_linear_code128_ean ${CMAKE_CURRENT_LIST_DIR}/linear_code128_ean.cpp
    LIBS qbm_barcode qbm_surface zint)

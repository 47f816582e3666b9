# Linear symbols per second: our BuildPattern and Draw beside libzint encoding (and rasterising) the same data.
qbm_add_bench(qbm_bench_linear ${CMAKE_CURRENT_LIST_DIR}/linear.cpp LIBS qbm_barcode qbm_surface zint)

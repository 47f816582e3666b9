# Loading the whole label stock database beside a plain read of the same files.
qbm_add_bench(qbm_bench_stock ${CMAKE_CURRENT_LIST_DIR}/stock.cpp LIBS qbm_core Qt6::Core)

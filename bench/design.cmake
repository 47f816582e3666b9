qbm_add_bench(qbm_bench_design design.cpp LIBS qbm_app Qt6::Gui)

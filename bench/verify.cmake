qbm_add_bench(qbm_bench_verify verify.cpp LIBS qbm_core)
add_dependencies(qbm_bench_verify qbm)
target_compile_definitions(qbm_bench_verify PRIVATE QBM_CLI="$<TARGET_FILE:qbm>")

find_package(ZLIB REQUIRED)
qbm_add_bench(qbm_bench_print print.cpp LIBS qbm_app ZLIB::ZLIB Qt6::Gui)
target_compile_definitions(qbm_bench_print PRIVATE
    QBM_GLABELS_TEMPLATE="${CMAKE_CURRENT_SOURCE_DIR}/data/glabels-ean13-3x8.glabels")

# The one-bit page rows of a PNG page: our run deflater beside libdeflate on the same rows.
pkg_check_modules(BENCH_LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
qbm_add_bench(qbm_bench_deflate ${CMAKE_CURRENT_LIST_DIR}/deflate.cpp
    LIBS qbm_core Qt6::Gui PkgConfig::BENCH_LIBDEFLATE)

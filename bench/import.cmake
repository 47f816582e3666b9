# Workbook and text imports at real sizes, each beside a baseline from the same run: .xls (65,536 x 6
# cells) per cell beside .xlsx of the same cells, .xlsx and .ods (100,000 x 6) beside a bare pass over
# their sheet XML, the import's own XML scanner beside Qt's reader on that XML, CSV (100,000 x 6) beside a
# line-by-line read; the peak memory of each import, in a fresh process, beside the file's text.
pkg_check_modules(BENCH_XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
pkg_check_modules(BENCH_LIBZIP REQUIRED IMPORTED_TARGET libzip)
qbm_add_bench(qbm_bench_import ${CMAKE_CURRENT_LIST_DIR}/import.cpp LIBS qbm_core PkgConfig::BENCH_XLSXWRITER
              PkgConfig::BENCH_LIBZIP)

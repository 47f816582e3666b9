# .xlsx and .ods workbooks come from anywhere; their XML must never crash the reader or exhaust memory.
pkg_check_modules(FUZZ_LIBZIP REQUIRED IMPORTED_TARGET libzip)
qbm_add_fuzzer(workbook ${CMAKE_CURRENT_LIST_DIR}/workbook.cpp LIBS qbm_core PkgConfig::FUZZ_LIBZIP)

# The Code 128 and EAN/UPC encoders take any text a datasheet or a typed value gives them.
qbm_add_fuzzer(code128_ean ${CMAKE_CURRENT_LIST_DIR}/code128_ean.cpp LIBS qbm_barcode)

# Any Code text and any settings through the PDF417 component: errors are the component's own
# (E2DBarcodeError, the conversion error), never a crash, and a refused change leaves the old state.
qbm_add_fuzzer(pdf417 ${CMAKE_CURRENT_LIST_DIR}/pdf417.cpp LIBS qbm_barcode2d)

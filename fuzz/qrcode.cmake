# Any text, level and version through our QR Code encoder: refusals are ESymbolError, never a crash;
# every symbol has the size, level and mask it says, in its function patterns and format information.
qbm_add_fuzzer(qrcode ${CMAKE_CURRENT_LIST_DIR}/qrcode.cpp LIBS qbm_symbols qbm_surface)

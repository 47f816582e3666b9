# Any text, shape, size and GS1 mode through our Data Matrix encoder: refusals are ESymbolError, never
# a crash; every symbol has a size of its shape and the finder and timing patterns of its regions.
qbm_add_fuzzer(datamatrix ${CMAKE_CURRENT_LIST_DIR}/datamatrix.cpp LIBS qbm_symbols qbm_surface)

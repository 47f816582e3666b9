# Any symbology, settings and text through the libzint-backed encoders and the GS1 element string
# check: refusals are ESymbolError, never a crash; every accepted symbol lies inside its picture.
qbm_add_fuzzer(symbols ${CMAKE_CURRENT_LIST_DIR}/symbols.cpp LIBS qbm_symbols qbm_surface)

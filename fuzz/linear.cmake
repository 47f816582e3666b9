# Any type, settings and text through the linear engine's BuildPattern and Draw: errors are the
# engine's own, never a crash, and drawing leaves the canvas's font, pen and brush as they were.
qbm_add_fuzzer(linear ${CMAKE_CURRENT_LIST_DIR}/linear.cpp LIBS qbm_barcode qbm_surface)

# One frame of dragging on the label designer: 20 objects, 3 of them moving, drawn at 200 % as the
# canvas paints each mouse move; beside it, in the same run, the same label drawn once by the print
# painter at that resolution (what any redraw costs at least), against 60 frames a second.
if(TARGET qbm_gui)
    qbm_add_bench(qbm_bench_designer ${CMAKE_CURRENT_LIST_DIR}/designer.cpp LIBS qbm_gui)
endif()

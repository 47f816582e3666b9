# The datasheet at a million rows: opening the window and scrolling it, importing a 60 MB text file
# beside a plain line-by-line read of it, and the memory the loaded sheet takes beside its text.
qbm_add_bench(qbm_bench_datasheet ${CMAKE_CURRENT_LIST_DIR}/datasheet.cpp LIBS qbm_gui)

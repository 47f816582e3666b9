# Saving and loading a project with a 100,000 x 5 datasheet, beside a plain write and read of the
# same number of bytes (the floor any project format has to pay).
qbm_add_bench(qbm_bench_project ${CMAKE_CURRENT_LIST_DIR}/project.cpp LIBS qbm_core)

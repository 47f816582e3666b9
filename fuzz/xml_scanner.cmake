# The import's own XML scanner beside Qt's reader on the same bytes: what the scanner accepts it reads
# exactly as Qt does. Built from the scanner's source alone, so that the target builds in moments.
qbm_add_fuzzer(xml_scanner ${CMAKE_CURRENT_LIST_DIR}/xml_scanner.cpp ${CMAKE_SOURCE_DIR}/src/data/XmlScanner.cpp
               LIBS Qt6::Core)

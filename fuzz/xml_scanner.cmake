# The import's own XML scanner beside Qt's reader on the same bytes: what the scanner accepts it reads
# exactly as Qt does. Built from the scanner's source (and the text helpers) alone, so that it builds in moments.
qbm_add_fuzzer(xml_scanner ${CMAKE_CURRENT_LIST_DIR}/xml_scanner.cpp ${CMAKE_SOURCE_DIR}/src/data/XmlScanner.cpp
               ${CMAKE_SOURCE_DIR}/src/util/Text.cpp
               LIBS Qt6::Core)
target_include_directories(fuzz_xml_scanner PRIVATE ${CMAKE_SOURCE_DIR}/tests)

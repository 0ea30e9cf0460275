reelwarden_test(test_startup SOURCES test_startup.cpp LIBS startup)
target_compile_definitions(test_startup PRIVATE READER_PROGRAM="$<TARGET_FILE:reelwarden-mdb-reader>")
add_dependencies(test_startup reelwarden-mdb-reader)

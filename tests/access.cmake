# Converting Access catalogs of the earlier Windows version. The tests run the real reader,
# built beside the program.
reelwarden_test(test_access_convert PLAIN SOURCES test_access_convert.cpp LIBS access_convert)
target_compile_definitions(test_access_convert PRIVATE
    REELWARDEN_MDB_READER="$<TARGET_FILE:reelwarden-mdb-reader>")
add_dependencies(test_access_convert reelwarden-mdb-reader)

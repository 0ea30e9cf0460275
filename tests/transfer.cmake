# Import, export and backup: the library in the test's own process, the exit statuses through
# the real reelwarden-transfer, which reads Access files with the reader beside it.
reelwarden_test(test_transfer PLAIN SOURCES test_transfer.cpp LIBS transfer)
target_compile_definitions(test_transfer PRIVATE
    REELWARDEN_TRANSFER="$<TARGET_FILE:reelwarden-transfer>")
add_dependencies(test_transfer reelwarden-transfer reelwarden-mdb-reader)

# Importing the collections of media centres and other catalog programs: real files they
# wrote and damaged ones, through the real reelwarden-transfer (the kind told from the
# content, the catalog untouched by a refusal) and through the readers themselves.
reelwarden_test(test_transfer_readers SOURCES test_transfer_readers.cpp LIBS transfer)
target_compile_definitions(test_transfer_readers PRIVATE
    REELWARDEN_TRANSFER="$<TARGET_FILE:reelwarden-transfer>")
add_dependencies(test_transfer_readers reelwarden-transfer)

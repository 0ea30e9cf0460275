# Daily backups, the question before an import, and restoring from a backup: plain logic and
# the real reelwarden-transfer, no window.
reelwarden_test(test_backups PLAIN SOURCES test_backups.cpp LIBS transfer)
target_compile_definitions(test_backups PRIVATE
    REELWARDEN_TRANSFER="$<TARGET_FILE:reelwarden-transfer>")
add_dependencies(test_backups reelwarden-transfer)

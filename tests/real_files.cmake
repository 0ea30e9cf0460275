# Files other programs really wrote (Tellico, GCstar, IMDb, Letterboxd, spreadsheets) imported
# through the real reelwarden-transfer under several locales; the value rule that reads their
# numbers; a Tellico round trip through a file Tellico itself saved.
reelwarden_test(test_real_files SOURCES test_real_files.cpp LIBS transfer)
target_compile_definitions(test_real_files PRIVATE
    REELWARDEN_TRANSFER="$<TARGET_FILE:reelwarden-transfer>")
add_dependencies(test_real_files reelwarden-transfer)

# Catalogs other catalog programs wrote: Ant Movie Catalog, Collectorz, Data Crow and Delicious
# Library, read by their readers and imported or refused by the real reelwarden-transfer.
reelwarden_test(test_catalog_programs SOURCES test_catalog_programs.cpp LIBS transfer)
target_compile_definitions(test_catalog_programs PRIVATE
    REELWARDEN_TRANSFER="$<TARGET_FILE:reelwarden-transfer>")
add_dependencies(test_catalog_programs reelwarden-transfer)

reelwarden_test(test_store SOURCES test_store.cpp LIBS store catalog_schema SQLite::SQLite3)

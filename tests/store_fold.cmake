reelwarden_test(test_store_fold SOURCES test_store_fold.cpp LIBS store SQLite::SQLite3)

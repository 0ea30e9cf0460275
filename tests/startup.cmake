reelwarden_test(test_startup SOURCES test_startup.cpp LIBS startup catalog_schema SQLite::SQLite3)

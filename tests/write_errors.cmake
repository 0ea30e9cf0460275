reelwarden_test(test_write_errors SOURCES test_write_errors.cpp MainWindowFixture.h
    LIBS main_window catalog_schema SQLite::SQLite3)

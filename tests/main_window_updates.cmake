reelwarden_test(test_main_window_updates SOURCES test_main_window_updates.cpp MainWindowFixture.h
    LIBS main_window catalog_schema SQLite::SQLite3)

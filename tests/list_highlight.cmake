reelwarden_test(test_list_highlight SOURCES test_list_highlight.cpp MainWindowFixture.h
    LIBS main_window catalog_schema SQLite::SQLite3)

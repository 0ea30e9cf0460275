reelwarden_test(test_main_window SOURCES test_main_window.cpp MainWindowFixture.h
    LIBS main_window catalog_schema SQLite::SQLite3)
reelwarden_test(test_edit_cycle SOURCES test_edit_cycle.cpp MainWindowFixture.h
    LIBS main_window catalog_schema SQLite::SQLite3)
reelwarden_test(test_window_input SOURCES test_window_input.cpp MainWindowFixture.h
    LIBS main_window catalog_schema SQLite::SQLite3)

# The search window on its own and searches run through the catalog window on a real catalog.
reelwarden_test(test_search_window SOURCES test_search_window.cpp)

# The list's menu, the day's backup and the toolbar's keys in the catalog window.
reelwarden_test(test_window_transfer SOURCES test_window_transfer.cpp)

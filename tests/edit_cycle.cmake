# The edit cycle's rules, without a window.
reelwarden_test(test_edit_cycle PLAIN SOURCES test_edit_cycle.cpp LIBS edit_cycle)

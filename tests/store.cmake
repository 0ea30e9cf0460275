reelwarden_test(test_store PLAIN SOURCES test_store.cpp)

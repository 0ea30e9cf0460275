reelwarden_test(test_store SOURCES test_store.cpp)

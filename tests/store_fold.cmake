reelwarden_test(test_store_fold PLAIN SOURCES test_store_fold.cpp)

reelwarden_test(test_settings SOURCES test_settings.cpp)

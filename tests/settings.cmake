reelwarden_test(test_settings PLAIN SOURCES test_settings.cpp LIBS settings)

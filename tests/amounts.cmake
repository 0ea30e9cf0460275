# Amounts typed into the catalog and search windows, shown, stored and searched for: one
# executable, run under the settings of each locale it has a table for.
reelwarden_test(test_amounts SOURCES test_amounts.cpp)
foreach(locale de_DE fr_FR)
  add_test(NAME test_amounts_${locale} COMMAND test_amounts)
  set_tests_properties(test_amounts_${locale} PROPERTIES TIMEOUT 300 ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;LC_ALL=${locale}.UTF-8;LANG=${locale}.UTF-8;LANGUAGE=${locale}")
endforeach()

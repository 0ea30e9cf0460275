# Amounts and the search statement: plain logic, no window.
reelwarden_test(test_money SOURCES test_money.cpp)
reelwarden_test(test_query_builder SOURCES test_query_builder.cpp)

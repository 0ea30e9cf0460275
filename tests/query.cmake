# Amounts and the search statement: plain logic, no window.
reelwarden_test(test_money PLAIN SOURCES test_money.cpp LIBS store)
reelwarden_test(test_query_builder PLAIN SOURCES test_query_builder.cpp LIBS search_query)

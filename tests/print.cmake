# Printing a movie: the main window prints to PDF files that poppler-utils read back.
reelwarden_test(test_print SOURCES test_print.cpp TIMEOUT 120)

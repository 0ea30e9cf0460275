# Printing a movie: the main window prints to PDF files that poppler-utils read back, and
# through a private CUPS server when the tests run as root.
reelwarden_test(test_print SOURCES test_print.cpp TIMEOUT 120
    LIBS main_window catalog_schema SQLite::SQLite3)

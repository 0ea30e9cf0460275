# Reading and writing other programs' files: Tellico (.tc, .xml), GCstar (.gcs), HTML. The
# export is checked against Tellico's DTD (tellico-data) with xmllint when both are installed.
reelwarden_test(test_transfer_formats PLAIN SOURCES test_transfer_formats.cpp LIBS transfer)

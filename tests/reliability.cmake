# Reliability: killed writers, two programs on one catalog, bad files and hostile text.
add_executable(crash_writer crash_writer.cpp)
target_link_libraries(crash_writer PRIVATE store Qt6::Core)

reelwarden_test(test_crash_recovery SOURCES test_crash_recovery.cpp
    LIBS store catalog_schema SQLite::SQLite3 TIMEOUT 240)
target_compile_definitions(test_crash_recovery PRIVATE CRASH_WRITER_PATH="$<TARGET_FILE:crash_writer>")
add_dependencies(test_crash_recovery crash_writer)

reelwarden_test(test_two_programs_reliability SOURCES test_two_programs_reliability.cpp
    LIBS store catalog_schema SQLite::SQLite3)

reelwarden_test(test_bad_files SOURCES test_bad_files.cpp
    LIBS main_window catalog_schema SQLite::SQLite3)

reelwarden_test(test_hostile_input SOURCES test_hostile_input.cpp MainWindowFixture.h
    LIBS main_window comments search_query catalog_schema SQLite::SQLite3)

# Reliability: killed writers, two programs on one catalog, bad files and hostile text.
add_executable(crash_writer crash_writer.cpp)
target_link_libraries(crash_writer PRIVATE test_data)
reelwarden_test(test_crash_recovery PLAIN SOURCES test_crash_recovery.cpp TIMEOUT 240)
target_compile_definitions(test_crash_recovery PRIVATE CRASH_WRITER_PATH="$<TARGET_FILE:crash_writer>")
add_dependencies(test_crash_recovery crash_writer)
reelwarden_test(test_two_programs_reliability PLAIN SOURCES test_two_programs_reliability.cpp)
reelwarden_test(test_bad_files SOURCES test_bad_files.cpp)
reelwarden_test(test_hostile_input SOURCES test_hostile_input.cpp)

# Installing for everyday use: install.sh and `cmake --install` from this build folder into a
# temporary home. Needs the whole build (the programs, the icons, make_catalog).
add_test(NAME test_install COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/test_install.sh
    ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} $<TARGET_EXISTS:reelwarden-transfer>)
set_tests_properties(test_install PROPERTIES ENVIRONMENT "${REELWARDEN_TEST_ENV}" TIMEOUT 120)

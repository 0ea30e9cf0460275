# reelwarden-bench-catalog: the generated catalogs for bench/transfer-bench.sh, which times
# reelwarden-transfer's import, export and backup on them.
add_executable(reelwarden-bench-catalog ${CMAKE_CURRENT_LIST_DIR}/make_bench_catalog.cpp)
target_link_libraries(reelwarden-bench-catalog PRIVATE bench_catalog)

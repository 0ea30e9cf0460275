# reelwarden-bench: times the catalog window's interactions over generated catalogs.
# Run: build/bench/reelwarden-bench [sizes...]   (see bench/README-performance.md)
add_library(bench_catalog STATIC ${CMAKE_CURRENT_LIST_DIR}/CatalogGenerator.cpp)
target_include_directories(bench_catalog PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(bench_catalog PUBLIC Qt6::Core PRIVATE SQLite::SQLite3 catalog_schema)

add_executable(reelwarden-bench ${CMAKE_CURRENT_LIST_DIR}/reelwarden_bench.cpp)
target_link_libraries(reelwarden-bench PRIVATE bench_catalog main_window search_query store
    SQLite::SQLite3)

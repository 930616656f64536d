set(VELMORA_BENCH_LIBS Wirelay)
# The pty benchmark borrows the tests' pseudo-terminal pair.
target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)

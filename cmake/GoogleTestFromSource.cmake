# GoogleTest for a cross build: Debian packages no GoogleTest built for the target, but
# libgtest-dev ships its sources, which are built here with the cross compiler, statically.
# They define GTest::gtest and GTest::gtest_main, the targets find_package(GTest) gives.
set(KORZENIK_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (libgtest-dev)")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${KORZENIK_GTEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

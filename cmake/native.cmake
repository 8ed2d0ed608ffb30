# Native build: the platform-independent logic, the image generator, unit and end-to-end tests.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(GTest REQUIRED)

kv_glob(KV_POSIX_SOURCES ui/posix)
add_library(kv_logic STATIC ${KV_LOGIC_SOURCES} ${KV_POSIX_SOURCES})
target_include_directories(kv_logic PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kv_logic PUBLIC PNG::PNG JPEG::JPEG)

# The console helper's listing logic (its Windows side and entry point live in console/win32/).
file(GLOB KV_CONSOLE_LOGIC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/console/*.cpp)
add_library(kv_console_logic STATIC ${KV_CONSOLE_LOGIC_SOURCES})
target_link_libraries(kv_console_logic PUBLIC kv_logic)

# Built-in images: SVG sources -> exact .ico/.bmp files -> C++ arrays for both programs.
# Sets KV_BUILTIN_IMAGE_SOURCES (the generated data, compiled into the tests too).
include(cmake/images.cmake)

enable_testing()
file(GLOB KV_TEST_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/tests/*.cpp ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
add_executable(kv_tests ${KV_TEST_SOURCES} ${KV_BUILTIN_IMAGE_SOURCES})
target_link_libraries(kv_tests PRIVATE kv_console_logic kv_logic GTest::gtest GTest::gtest_main)
target_compile_definitions(kv_tests PRIVATE KV_GEN_DIR="${KV_GEN_DIR}")
include(GoogleTest)
gtest_discover_tests(kv_tests DISCOVERY_TIMEOUT 30 PROPERTIES LABELS unit)

include(cmake/e2e.cmake)

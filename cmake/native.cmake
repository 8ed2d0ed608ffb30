# Native build: the platform-independent logic, the image generator, unit and end-to-end tests.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)

if(KV_FUZZ)  # the fuzzing tree (clang): everything built with the checks, libFuzzer hooks in
  set(KV_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${KV_SANITIZE} -fsanitize=fuzzer-no-link)
  add_compile_definitions(FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
  add_link_options(${KV_SANITIZE})
endif()

kv_glob(KV_POSIX_SOURCES ui/posix)
add_library(kv_logic STATIC ${KV_LOGIC_SOURCES} ${KV_POSIX_SOURCES})
target_include_directories(kv_logic PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kv_logic PUBLIC PNG::PNG JPEG::JPEG)

# The console helper's listing logic (its Windows side and entry point live in console/win32/).
file(GLOB KV_CONSOLE_LOGIC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/console/*.cpp)
add_library(kv_console_logic STATIC ${KV_CONSOLE_LOGIC_SOURCES})
target_link_libraries(kv_console_logic PUBLIC kv_logic)

if(KV_FUZZ)
  include(cmake/fuzz.cmake)
  return()
endif()
find_package(GTest REQUIRED)

# The test displays' stand-in for a window manager's WM_STATE marks (tests/x11/wm_state_keeper.c).
find_package(X11 REQUIRED)
add_executable(wm_state_keeper ${CMAKE_SOURCE_DIR}/tests/x11/wm_state_keeper.c)
target_link_libraries(wm_state_keeper PRIVATE X11::X11)

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

# Each fuzz target for a few seconds, so that a reader that regresses is caught here;
# scripts/fuzz.sh runs them for long. The targets come from the fuzzing tree (scripts/build.sh).
file(GLOB KV_FUZZ_TARGET_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source IN LISTS KV_FUZZ_TARGET_SOURCES)
  get_filename_component(target ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${target})
  add_test(NAME fuzz.${name} COMMAND ${CMAKE_SOURCE_DIR}/scripts/fuzz.sh --brief ${target})
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 120)
endforeach()

# The source tree's own rules: includes keep to their floors; marked places keep their numbers.
foreach(check check_floors marked_places)
  add_test(NAME source.${check} COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/${check}.py)
  set_tests_properties(source.${check} PROPERTIES LABELS source)
endforeach()

include(cmake/e2e.cmake)

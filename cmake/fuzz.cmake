# Fuzz targets: every reader of outside input under libFuzzer, one executable per reader
# (<name>_fuzz from tests/fuzz/<name>_fuzz.cpp). The whole tree is built with the address and
# undefined-behaviour checks (see native.cmake); scripts/fuzz.sh builds and runs it.
file(GLOB KV_FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
# An object library: every fake is linked, as the logic libraries expect them all.
add_library(kv_fuzz_support OBJECT ${KV_FAKE_SOURCES}
            ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_files.cpp ${CMAKE_SOURCE_DIR}/tests/fuzz/image_checks.cpp)
target_link_libraries(kv_fuzz_support PUBLIC kv_console_logic kv_logic)

file(GLOB KV_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source IN LISTS KV_FUZZ_TARGETS)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE kv_fuzz_support)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()

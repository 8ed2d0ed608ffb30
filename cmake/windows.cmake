# Windows build (i686 or x86_64): the program, the console helper and the Windows-side test tools.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(KV_ARCH win64)
else()
  set(KV_ARCH win32)
endif()
set(KV_DEPS "" CACHE PATH "Prefix holding libpng and libjpeg built for this architecture")
if(NOT EXISTS "${KV_DEPS}/lib/libpng16.a" OR NOT EXISTS "${KV_DEPS}/lib/libjpeg.a")
  message(FATAL_ERROR "libpng/libjpeg for ${KV_ARCH} not found under KV_DEPS='${KV_DEPS}'; run scripts/setup.sh")
endif()
if(NOT EXISTS "${KV_GEN_DIR}/builtin_images_data.cpp")
  message(FATAL_ERROR "${KV_GEN_DIR}/builtin_images_data.cpp missing; build the native tree first")
endif()
enable_language(RC)
find_library(KV_ZLIB NAMES libz.a z REQUIRED)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${CMAKE_SOURCE_DIR}/out/${KV_ARCH}")
set(KV_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The portable logic and its Windows side in one library: each calls into the other (text files
# save through the Windows file replacement, the runtime draws what the logic decodes).
kv_glob(KV_WIN32_SOURCES platform/win32 ui/win32 settings/win32 sources/win32 menu/win32 settings_window/win32)
add_library(kv_win32 STATIC ${KV_LOGIC_SOURCES} ${KV_WIN32_SOURCES} ${KV_GEN_DIR}/builtin_images_data.cpp)
target_include_directories(kv_win32 PUBLIC ${CMAKE_SOURCE_DIR} ${KV_DEPS}/include)
target_link_libraries(kv_win32 PUBLIC ${KV_DEPS}/lib/libpng16.a ${KV_DEPS}/lib/libjpeg.a ${KV_ZLIB}
                      comctl32 gdi32 user32 shell32 ole32 uuid advapi32 msimg32)

# The console helper: its listing logic and Windows side (objects shared with the benchmark in
# tests/win/consolebench), its entry point, and of the program only the fatal error report and
# the few helpers that report needs. No GUI runtime: the helper stays small.
file(GLOB KV_CONSOLE_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/console/*.cpp ${CMAKE_SOURCE_DIR}/console/win32/*.cpp)
list(REMOVE_ITEM KV_CONSOLE_SOURCES ${CMAKE_SOURCE_DIR}/console/win32/main.cpp)
add_library(kv_console_objects OBJECT ${KV_CONSOLE_SOURCES})
target_include_directories(kv_console_objects PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(kv_console_objects PRIVATE -Os)
add_executable(KestrivalumeConsole console/win32/main.cpp $<TARGET_OBJECTS:kv_console_objects>
               platform/fatal_error_text.cpp platform/location_marker.cpp platform/win32/fatal_error_win32.cpp
               platform/text.cpp platform/paths.cpp res/console.rc)
target_include_directories(KestrivalumeConsole PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(KestrivalumeConsole PRIVATE -Os)
target_link_libraries(KestrivalumeConsole PRIVATE ole32 uuid shell32 user32 winmm ${KV_STATIC_RUNTIME}
                      -s -Wl,--gc-sections)

# The program carries the helper of its own architecture as a resource (rebuilt when the helper
# changes) and writes it into the data folder at every start.
set(KV_CONSOLE_HELPER_FILE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/KestrivalumeConsole.exe)
set(KV_CONSOLE_IMAGE_RC ${CMAKE_BINARY_DIR}/console_image.rc)
configure_file(res/console_image.rc.in ${KV_CONSOLE_IMAGE_RC} @ONLY)
set_source_files_properties(${KV_CONSOLE_IMAGE_RC} PROPERTIES OBJECT_DEPENDS ${KV_CONSOLE_HELPER_FILE})

# The resource compiler's own inputs, which CMake does not follow by itself.
set_source_files_properties(res/kestrivalume.rc PROPERTIES OBJECT_DEPENDS
                            "${CMAKE_SOURCE_DIR}/res/kestrivalume.manifest;${KV_GEN_DIR}/image0.ico")
add_executable(Kestrivalume WIN32 shell/win32/main/winmain.cpp res/kestrivalume.rc ${KV_CONSOLE_IMAGE_RC})
target_include_directories(Kestrivalume PRIVATE ${KV_GEN_DIR} ${CMAKE_SOURCE_DIR})
target_link_libraries(Kestrivalume PRIVATE kv_win32 ${KV_STATIC_RUNTIME} -Wl,--file-alignment=4096)
add_dependencies(Kestrivalume KestrivalumeConsole)

# Windows-side test tools, each a folder under tools/win/ or tests/win/, with what they share
# (tools/win_shared/); the folders named in KV_WIN_TEST_MODULES are DLLs instead (<folder>.dll
# without the "dll" suffix, e.g. names.dll), with their resource scripts and nothing of the program.
set(KV_WIN_TEST_MODULES namesdll)
file(GLOB KV_WIN_SHARED_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/win_shared/*.cpp)
add_library(kv_win_shared STATIC ${KV_WIN_SHARED_SOURCES})
target_link_libraries(kv_win_shared PUBLIC kv_win32 uuid oleacc oleaut32)
file(GLOB KV_WIN_TOOLS LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/win/* ${CMAKE_SOURCE_DIR}/tests/win/*)
foreach(dir IN LISTS KV_WIN_TOOLS)
  if(IS_DIRECTORY ${dir})
    get_filename_component(name ${dir} NAME)
    if(name IN_LIST KV_WIN_TEST_MODULES)
      file(GLOB module_sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.rc)
      add_library(${name} SHARED ${module_sources})
      string(REGEX REPLACE "dll$" "" module_name ${name})
      set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${module_name})
      target_link_libraries(${name} PRIVATE ${KV_STATIC_RUNTIME} -s)
      continue()
    endif()
    file(GLOB tool_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    add_executable(${name} ${tool_sources})
    target_link_libraries(${name} PRIVATE kv_win_shared kv_win32 ${KV_STATIC_RUNTIME})
  endif()
endforeach()
# The helper's walk and shortcut resolution timed without its pause.
if(TARGET consolebench)
  target_sources(consolebench PRIVATE $<TARGET_OBJECTS:kv_console_objects>)
  target_link_libraries(consolebench PRIVATE ole32 uuid shell32 winmm)
endif()
# A stand-in for the programs the menu launches: a windowed program like them, so that Windows
# gives it no console of its own.
if(TARGET tracer)
  target_link_options(tracer PRIVATE -mwindows)
endif()
foreach(windowed idlefloor barerows)
  if(TARGET ${windowed})
    target_link_options(${windowed} PRIVATE -mwindows)
  endif()
endforeach()

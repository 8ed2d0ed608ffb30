# Built-in images. Each art/icons/NN-name.svg is rendered to a PNG at 16 pixels and at the sides
# the icons take on screens of 120, 144 and 192 DPI (20, 24 and 32: ui::Scaled(16, dpi)).
# imagegen turns those into exact .ico files, adds the hue strip (image 30, computed at each
# DPI's size) and writes the C++ arrays that both the native tests and the Windows programs
# compile. A contact sheet shows them all enlarged for checking by eye. Outputs are only
# rewritten when their contents change.
find_program(KV_RSVG_CONVERT rsvg-convert)
if(NOT KV_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert not found; install the Debian package librsvg2-bin")
endif()
find_program(KV_MONTAGE montage)

file(GLOB KV_IMAGEGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/imagegen/*.cpp)
add_executable(imagegen ${KV_IMAGEGEN_SOURCES})
target_link_libraries(imagegen PRIVATE kv_logic)

set(KV_SCALED_DPIS 120 144 192)
set(KV_ICON_SIDES 16 20 24 32)

# SVG -> PNG, one command per icon and side so that editing one SVG renders only that one.
# imagegen reads each PNG's side from the picture; the "@side" only keeps the files apart.
file(GLOB KV_ICON_SVGS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/art/icons/*.svg)
set(KV_ICON_PNG_DIR ${CMAKE_BINARY_DIR}/icons)
set(KV_ICON_PNGS)
foreach(svg IN LISTS KV_ICON_SVGS)
  get_filename_component(name ${svg} NAME_WE)
  foreach(side IN LISTS KV_ICON_SIDES)
    set(png ${KV_ICON_PNG_DIR}/${name}@${side}.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_ICON_PNG_DIR}
      COMMAND ${KV_RSVG_CONVERT} -w ${side} -h ${side} -o ${png} ${svg}
      DEPENDS ${svg}
      COMMENT "Rendering icon ${name} at ${side} pixels"
      VERBATIM)
    list(APPEND KV_ICON_PNGS ${png})
  endforeach()
endforeach()

# PNGs -> .ico/.bmp files and the C++ source.
set(KV_IMAGE_DIR ${KV_GEN_DIR}/images)
set(KV_IMAGE_FILES ${KV_IMAGE_DIR}/image_30.bmp)
foreach(dpi IN LISTS KV_SCALED_DPIS)
  list(APPEND KV_IMAGE_FILES ${KV_IMAGE_DIR}/image_30_${dpi}.bmp)
endforeach()
foreach(number RANGE 0 21)
  string(LENGTH "${number}" digits)
  if(digits EQUAL 1)
    set(number "0${number}")
  endif()
  list(APPEND KV_IMAGE_FILES ${KV_IMAGE_DIR}/image_${number}.ico)
  foreach(dpi IN LISTS KV_SCALED_DPIS)
    list(APPEND KV_IMAGE_FILES ${KV_IMAGE_DIR}/image_${number}_${dpi}.ico)
  endforeach()
endforeach()
set(KV_BUILTIN_IMAGE_SOURCES ${KV_GEN_DIR}/builtin_images_data.cpp)
add_custom_command(
  OUTPUT ${KV_BUILTIN_IMAGE_SOURCES} ${KV_GEN_DIR}/image0.ico ${KV_IMAGE_FILES}
  COMMAND imagegen ${KV_GEN_DIR} ${KV_ICON_PNGS}
  DEPENDS imagegen ${KV_ICON_PNGS}
  COMMENT "Generating built-in images"
  VERBATIM)
set(KV_IMAGE_OUTPUTS ${KV_BUILTIN_IMAGE_SOURCES} ${KV_GEN_DIR}/image0.ico)

# Contact sheet for looking at the result.
if(KV_MONTAGE)
  set(sheet_script ${CMAKE_SOURCE_DIR}/tools/imagegen/contact_sheet.sh)
  add_custom_command(
    OUTPUT ${KV_GEN_DIR}/contact_sheet.png
    COMMAND sh ${sheet_script} ${KV_MONTAGE} ${KV_IMAGE_DIR} ${KV_GEN_DIR}/contact_sheet.png
    DEPENDS ${sheet_script} ${KV_IMAGE_FILES}
    COMMENT "Drawing the contact sheet of the built-in images"
    VERBATIM)
  list(APPEND KV_IMAGE_OUTPUTS ${KV_GEN_DIR}/contact_sheet.png)
else()
  message(WARNING "ImageMagick's montage not found: no contact sheet of the built-in images")
endif()

add_custom_target(kv_builtin_images ALL DEPENDS ${KV_IMAGE_OUTPUTS})

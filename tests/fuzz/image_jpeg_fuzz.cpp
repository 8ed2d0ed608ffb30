// JPEG files of any bytes, decoded, resized and reduced.
#include "tests/fuzz/image_checks.h"
#include "ui/image_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ExerciseImage(ui::detail::DecodeJpeg(data, size), data, size);
  return 0;
}

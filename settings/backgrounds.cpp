// Background pictures of the menu window, stretched to cover the whole screen.
#include "platform/environment.h"
#include "platform/location_marker.h"
#include "settings/derived_images.h"
#include "ui/image.h"
#include "ui/image_store.h"
#include "ui/window.h"

KV_MARKED_FILE(301);

namespace settings {

void PrepareBackground(BackgroundSlot& slot) {
  KV_MARK();
  slot.has_image = false;
  ui::FreeImage(slot.image_number);
  if (slot.file_name.empty()) return;
  std::optional<ui::Image> loaded = ui::LoadImageFile(slot.file_name);
  if (!loaded) return;
  ui::AnswerSentMessages();  // each step may take a tenth of a second for a large picture
  const platform::Environment& screen = platform::Env();
  ui::Image picture = std::move(*loaded);
  // The aspect ratio is not kept: the picture covers the screen exactly.
  if (picture.width != screen.screen_right || picture.height != screen.screen_bottom) {
    picture = ui::ResizeSmooth(picture, screen.screen_right, screen.screen_bottom);
    ui::AnswerSentMessages();
  }
  picture = ui::ConvertToDepth(picture, screen.screen_depth);
  ui::AnswerSentMessages();
  slot.has_image = !picture.empty() && ui::StoreBitmap(slot.image_number, picture);
}

}  // namespace settings

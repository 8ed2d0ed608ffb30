#include "shell/console_helper_file.h"

#include "platform/environment.h"
#include "platform/location_marker.h"
#include "platform/services.h"
#include "ui/text_file.h"

KV_MARKED_FILE(701);

namespace shell {

void WriteConsoleHelper() {
  KV_MARK();
  const std::string image = services::ConsoleHelperImage();
  if (image.empty()) return;
  (void)ui::WriteFileReplacing(platform::Env().data_folder + platform::kConsoleHelperName, image);
}

}  // namespace shell

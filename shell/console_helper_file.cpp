#include "shell/console_helper_file.h"

#include "shell/environment.h"
#include "shell/location_marker.h"
#include "shell/services.h"
#include "ui/text_file.h"

namespace shell {

void WriteConsoleHelper() {
  KV_MARK();
  const std::string image = services::ConsoleHelperImage();
  if (image.empty()) return;
  (void)ui::WriteFileReplacing(Env().data_folder + kConsoleHelperName, image);
}

}  // namespace shell

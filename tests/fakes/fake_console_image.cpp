#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace services {

std::string ConsoleHelperImage() { return fakes::FakeServices().console_helper_image; }

}  // namespace services

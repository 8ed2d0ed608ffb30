#include <chrono>
#include <thread>

#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace {

void Ask(const std::string& question) {
  fakes::FakeServices().icon_questions.push_back(question);
  const int delay = fakes::FakeServices().icon_answer_delay_us;
  if (delay > 0) std::this_thread::sleep_for(std::chrono::microseconds(delay));
}

services::IconHandle Answer(const std::map<std::string, services::IconHandle>& answers, const std::string& key) {
  auto found = answers.find(key);
  return found == answers.end() ? 0 : found->second;
}

}  // namespace

namespace services {

IconHandle SmallFileIcon(const std::string& path) {
  Ask("file " + path);
  return Answer(fakes::FakeServices().file_icons, path);
}

IconHandle SmallTypeIcon(const std::string& dotted_extension) {
  Ask("type " + dotted_extension);
  return Answer(fakes::FakeServices().type_icons, dotted_extension);
}

IconHandle GenericSmallIcon() {
  Ask("generic");
  return fakes::FakeServices().generic_icon;
}

}  // namespace services

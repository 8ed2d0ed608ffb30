#include <chrono>
#include <mutex>
#include <thread>

#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace {

// The shell is asked from two threads at once: the record of the questions is shared.
std::mutex g_questions_lock;

void Ask(const std::string& question) {
  {
    std::lock_guard<std::mutex> held(g_questions_lock);
    fakes::FakeServices().icon_questions.push_back(question);
  }
  if (fakes::FakeServices().during_icon_question) fakes::FakeServices().during_icon_question(question);
  const int delay = fakes::FakeServices().icon_answer_delay_us;
  if (delay > 0) std::this_thread::sleep_for(std::chrono::microseconds(delay));
}

services::IconHandle Answer(const std::map<std::string, services::IconHandle>& answers, const std::string& key) {
  auto found = answers.find(key);
  return found == answers.end() ? 0 : found->second;
}

// A question at another size than 16 pixels names the size: "file C:\A.exe @24".
std::string AtSide(int side) { return side == 16 ? "" : " @" + std::to_string(side); }

}  // namespace

namespace services {

IconHandle FileIcon(const std::string& path, int side) {
  Ask("file " + path + AtSide(side));
  return Answer(fakes::FakeServices().file_icons, path);
}

IconHandle TypeIcon(const std::string& dotted_extension, int side) {
  Ask("type " + dotted_extension + AtSide(side));
  return Answer(fakes::FakeServices().type_icons, dotted_extension);
}

IconHandle GenericIcon(int side) {
  Ask("generic" + AtSide(side));
  return fakes::FakeServices().generic_icon;
}

}  // namespace services

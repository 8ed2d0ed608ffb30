#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace services {

bool RunHiddenWithOutput(const std::string& executable, const std::string& parameters, int stall_limit_ms,
                         const std::function<void(const std::string& bytes)>& on_output) {
  fakes::Services& fake = fakes::FakeServices();
  fake.hidden_runs.push_back({executable, parameters, stall_limit_ms});
  if (!fake.hidden_run_starts || fake.hidden_programs_ended) return false;
  for (const std::string& piece : fake.hidden_output) on_output(piece);
  if (fake.during_hidden_run) fake.during_hidden_run();
  return !fake.hidden_programs_ended;
}

void EndHiddenPrograms() { fakes::FakeServices().hidden_programs_ended = true; }

}  // namespace services

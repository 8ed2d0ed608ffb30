#include "sources/console_helper.h"

#include "platform/environment.h"
#include "platform/services.h"
#include "sources/output_lines.h"

namespace sources {

bool RunConsoleHelper(const std::string& parameters, const std::function<void(const std::string& line)>& on_line) {
  const std::string helper = platform::Env().data_folder + platform::kConsoleHelperName;
  OutputLines lines(on_line);
  return services::RunHiddenWithOutput(helper, parameters, kConsoleHelperStallLimitMs,
                                       [&lines](const std::string& bytes) { lines.Add(bytes); });
}

}  // namespace sources

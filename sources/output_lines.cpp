#include "sources/output_lines.h"

#include <utility>

namespace sources {

OutputLines::OutputLines(LineHandler on_line) : on_line_(std::move(on_line)) {}

void OutputLines::Add(const std::string& bytes) {
  for (const char byte : bytes) {
    if (byte == '\n' && after_cr_) {
      after_cr_ = false;
      continue;
    }
    after_cr_ = byte == '\r';
    if (byte == '\r' || byte == '\n') {
      EndLine();
    } else if (line_.size() < kMaxLineLength) {
      line_ += byte;
    }
  }
}

void OutputLines::EndLine() {
  const std::string line = std::move(line_);
  line_.clear();
  on_line_(line);
}

}  // namespace sources

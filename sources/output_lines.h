#pragma once
// Cuts a byte stream into lines as it arrives: a line ends at CR LF, CR or LF (the terminator
// is not part of it), and a CR LF pair split between two pieces is still one line end. Bytes
// after the last line end are no line: the helper ends every line it writes, so such a tail is
// a line cut off by a stall or a crash.
#include <cstddef>
#include <functional>
#include <string>

namespace sources {

class OutputLines {
 public:
  using LineHandler = std::function<void(const std::string& line)>;

  // Longer lines are cut to this length: nothing a well-behaved helper writes comes near it.
  static constexpr std::size_t kMaxLineLength = 32 * 1024;

  explicit OutputLines(LineHandler on_line);
  // Takes the next piece of the stream; hands over every line it completes.
  void Add(const std::string& bytes);

 private:
  void EndLine();

  LineHandler on_line_;
  std::string line_;
  bool after_cr_ = false;  // the previous byte ended a line with CR; an LF now belongs to it
};

}  // namespace sources

#pragma once
// Modal message boxes. The event wait does not run while one is shown.
#include <string>

namespace ui {

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };
enum class Mark { None, Information, Warning, Error, Question };

Answer ShowMessage(const std::string& title, const std::string& text, Buttons buttons = Buttons::Ok,
                   Mark mark = Mark::None, int owner_window = -1);

}  // namespace ui

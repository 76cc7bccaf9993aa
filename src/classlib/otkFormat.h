#pragma once
// Fitting a caption into a width: the longest prefix that fits with "..." appended, or the whole
// text when even the whole text with "..." fits. `measure` gives a text's width in the caller's
// units (the window's font); characters are whole UTF-8 characters.
#include <functional>
#include <string>
#include <string_view>

namespace otk {

std::string FitText(std::string_view text, int width, const std::function<int(std::string_view)>& measure);

}  // namespace otk

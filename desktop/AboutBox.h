// The About box: the product's name, its version and what it is, shown as
// a notice with an OK button.
#pragma once

#include <string>

#include "toolkit/Window.h"

namespace qv {

// The version the program was built as, e.g. "0.1".
std::string productVersion();
std::string aboutText();
void showAbout(toolkit::Window& window);

}  // namespace qv

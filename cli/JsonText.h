// Texts as qvl's JSON output writes them.
#pragma once

#include <string_view>

#include "app/BufferedOutput.h"

namespace qv::cli {

// Writes the text as a JSON string, quotes included. A JSON string is
// UTF-8: a byte that is not is replaced by U+FFFD. The C0 and C1 controls
// and DEL are escaped, so the output is safe to look at too.
void writeJsonString(BufferedOutput& out, std::string_view text);

}  // namespace qv::cli

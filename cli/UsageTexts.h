// The usage texts of qvl: the tool's summary of its commands and each
// command's own description, as --help prints them and usage errors end.
#pragma once

#include <string>

namespace qv::cli {

// The usage text of the tool, or of one command ("" for the tool).
const char* usageOf(const std::string& command);

}  // namespace qv::cli

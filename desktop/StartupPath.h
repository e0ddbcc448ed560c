// The start-up path: the program takes one optional document path. The
// arguments are joined into one command line, as a shell that did not
// split them would hand it over, so a path with blanks that reached us in
// pieces is whole again; then the line is trimmed and loses one leading
// and one trailing double quote, each on its own.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qv {

// The arguments after the program's name, joined by single blanks.
std::string commandLineOf(std::span<const std::string> arguments);

// The path a command line names; empty when it names none.
std::string startupPathOf(std::string_view commandLine);

}  // namespace qv

#include "desktop/StartupPath.h"

#include "core/String.h"

namespace qv {

std::string commandLineOf(std::span<const std::string> arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        line += argument;
    }
    return line;
}

std::string startupPathOf(std::string_view commandLine) {
    std::size_t begin = 0;
    std::size_t end = commandLine.size();
    while (begin < end && isBlankByte(commandLine[begin]))
        ++begin;
    while (end > begin && isBlankByte(commandLine[end - 1]))
        --end;
    std::string_view path = commandLine.substr(begin, end - begin);
    if (!path.empty() && path.front() == '"') path.remove_prefix(1);
    if (!path.empty() && path.back() == '"') path.remove_suffix(1);
    return std::string(path);
}

}  // namespace qv

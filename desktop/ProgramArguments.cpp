#include "desktop/ProgramArguments.h"

#include "desktop/StartupPath.h"

namespace qv {

ProgramRequest programRequestOf(std::span<const std::string> arguments) {
    ProgramRequest request;
    if (!arguments.empty() && arguments.front() == "--screenshot") {
        if (arguments.size() < 2 || arguments[1].empty()) {
            request.error = "--screenshot needs the name of the PNG file to write";
            return request;
        }
        request.screenshotPath = arguments[1];
        arguments = arguments.subspan(2);
    }
    request.startupPath = startupPathOf(commandLineOf(arguments));
    return request;
}

}  // namespace qv

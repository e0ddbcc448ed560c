#include "desktop/ProgramArguments.h"

#include "desktop/ChartExport.h"
#include "desktop/StartupPath.h"

namespace qv {

namespace {

ProgramRequest chartRequestOf(std::span<const std::string> arguments) {
    ProgramRequest request;
    if (arguments.size() != 3) {
        request.error = "--chart takes the file to write, the document and the table";
        return request;
    }
    if (chartFileKindOf(arguments[0]) == ChartFileKind::Unknown) {
        request.error = "--chart writes PNG or SVG: name the output OUT.png or OUT.svg";
        return request;
    }
    request.chart = ChartRequest{arguments[0], arguments[1], arguments[2]};
    return request;
}

}  // namespace

ProgramRequest programRequestOf(std::span<const std::string> arguments) {
    if (!arguments.empty() && arguments.front() == "--chart")
        return chartRequestOf(arguments.subspan(1));
    ProgramRequest request;
    if (!arguments.empty() && arguments.front() == "--guide-path") {
        if (arguments.size() > 1)
            request.error = "--guide-path takes nothing after it";
        else
            request.guidePath = true;
        return request;
    }
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

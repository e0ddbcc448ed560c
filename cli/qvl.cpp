// qvl: the headless tool. It reads documents and checks, evaluates, shows
// and formats them from the shell, with the messages the desktop program
// shows.
#include <cstdio>
#include <string>

#include "cli/Commands.h"

int main(int argc, char** argv) {
    using namespace qv::cli;
    if (argc < 2) {
        std::fputs(usageOf(""), stderr);
        return 2;
    }
    keepDocumentsUntilExit();
    std::string command = argv[1];
    ArgumentList arguments(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(usageOf(""), stdout);
        return 0;
    }
    if (command == "check") return runCheck(arguments);
    if (command == "eval") return runEval(arguments);
    if (command == "show") return runShow(arguments);
    if (command == "fmt") return runFmt(arguments);
    std::fprintf(stderr, "qvl: unknown command %s\n%s", command.c_str(), usageOf(""));
    return 2;
}

// qvl: the headless tool. It reads documents and checks, evaluates, shows
// and formats them and draws their charts from the shell, with the messages
// the desktop program shows.
#include "cli/Commands.h"

int main(int argc, char** argv) {
    qv::cli::keepDocumentsUntilExit();
    return qv::cli::runTool(qv::cli::ArgumentList(argv + 1, argv + argc));
}

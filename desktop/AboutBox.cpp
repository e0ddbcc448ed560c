#include "desktop/AboutBox.h"

#include "desktop/DocumentTitle.h"

namespace qv {

std::string productVersion() {
    return QV_VERSION;
}

std::string aboutText() {
    return std::string(kProductName) + " " + productVersion() +
           "\n\nA calculation environment: a model is a set of named tables whose fields "
           "hold formulas, computed as you edit them and stored with the layout of their "
           "views in one plain-text document.";
}

void showAbout(toolkit::Window& window) {
    window.showMessageBox(aboutText(), "About " + std::string(kProductName),
                          toolkit::MessageBoxKind::Notice);
}

}  // namespace qv

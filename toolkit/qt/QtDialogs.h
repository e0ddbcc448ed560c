// The modal message boxes and file dialogs of the Qt backend. They are
// shown without waiting (application-modal, not a nested event loop), so
// the program's code never runs inside a dialog's call: the answer comes
// back later through `post`, as on every other backend.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/Window.h"

class QWidget;

namespace qv::toolkit {

using PostAnswer = std::function<void(PostedMessage)>;

// Answers dialogs instead of the user, for tests of the program on Qt's
// offscreen platform where nobody can click. The answers still arrive as
// posted messages.
class DialogScript {
  public:
    virtual ~DialogScript() = default;
    virtual Answer answerMessageBox(std::string_view text, MessageBoxKind kind) = 0;
    // An empty optional cancels the dialog.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
};

// Installs the script (nullptr shows the real dialogs again). The caller
// keeps it alive while it is installed.
void setDialogScript(DialogScript* script);

// A question posts Yes (0), No (1), or Cancel (2) for Cancel, Escape and the
// close button; a notice posts Ok (3) however it is closed.
void showMessageBox(QWidget* parent, std::string_view text, std::string_view caption,
                    MessageBoxKind kind, PostAnswer post);

// Posts the request's replyMessage with the chosen path; a cancelled dialog posts
// nothing. Saving asks before replacing an existing file and adds the
// default extension to a name typed without one.
void showFileDialog(QWidget* parent, const FileDialogRequest& request, PostAnswer post);

}  // namespace qv::toolkit

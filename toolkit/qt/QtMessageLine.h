// The main window's message line: a label in the status bar under the work
// area that shows one passing notice on one line. A text wider than the
// line is shortened in the middle (a notice starts with a path and ends
// with what happened to it) and shown whole as the tooltip; it never widens
// the window.
#pragma once

#include <QLabel>
#include <QString>
#include <string_view>

namespace qv::toolkit {

class QtMessageLine final : public QLabel {
  public:
    explicit QtMessageLine(QWidget* parent);

    // Line breaks become spaces; an empty text clears the line.
    void setMessage(std::string_view text);
    // The whole message, as given (with its line breaks as spaces).
    const QString& message() const noexcept { return m_message; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showFitting();

    QString m_message;
};

}  // namespace qv::toolkit

#include "toolkit/qt/QtMessageLine.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QSizePolicy>
#include <QStringList>
#include <algorithm>

namespace qv::toolkit {

namespace {

// "a\n\nb" reads as "a b": the message line has room for one line only.
QString oneLine(std::string_view text) {
    QString whole = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QStringList lines = whole.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(QLatin1Char(' '));
}

}  // namespace

QtMessageLine::QtMessageLine(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("messageLine"));
    setTextFormat(Qt::PlainText);
    // The label takes the width the status bar gives it: a long message
    // must not make the window's minimum width grow.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(0);
    // In line with the formula line's caption above.
    setContentsMargins(2, 0, 2, 0);
}

void QtMessageLine::setMessage(std::string_view text) {
    m_message = oneLine(text);
    showFitting();
}

void QtMessageLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    showFitting();
}

void QtMessageLine::showFitting() {
    QString shown =
        fontMetrics().elidedText(m_message, Qt::ElideMiddle, std::max(contentsRect().width(), 0));
    setText(shown);
    setToolTip(shown == m_message ? QString() : m_message);
}

}  // namespace qv::toolkit

#include "toolkit/qt/QtDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <span>
#include <utility>
#include <vector>

#include "toolkit/qt/QtFileFilter.h"

namespace qv::toolkit {

namespace {

DialogScript* g_script = nullptr;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Answer answerFor(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            return Answer::Cancel;
    }
}

// OK and Cancel, or Delete and Cancel: Cancel is the default, so that
// Enter alone changes nothing.
QMessageBox* confirmBox(QWidget* parent, std::string_view text, std::string_view caption,
                        MessageBoxKind kind) {
    auto* box = new QMessageBox(QMessageBox::Warning, fromUtf8(caption), fromUtf8(text),
                                QMessageBox::Ok | QMessageBox::Cancel, parent);
    if (kind == MessageBoxKind::ConfirmDelete) box->button(QMessageBox::Ok)->setText("&Delete");
    if (kind == MessageBoxKind::Confirm) box->setIcon(QMessageBox::Question);
    box->setDefaultButton(kind == MessageBoxKind::Confirm ? QMessageBox::Ok : QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

// Buttons named for what they do; each answers as the kind says
// (toolkit/Window.h), the first being the default.
struct ChoiceButton {
    const char* text;
    Answer answer;
    QMessageBox::ButtonRole role;
};

QMessageBox* choiceBox(QWidget* parent, std::string_view text, std::string_view caption,
                       MessageBoxKind kind, std::vector<std::pair<QAbstractButton*, Answer>>& out) {
    static const ChoiceButton recover[] = {
        {"&Recover", Answer::Yes, QMessageBox::AcceptRole},
        {"&Open the saved file", Answer::No, QMessageBox::DestructiveRole},
        {"&Decide later", Answer::Cancel, QMessageBox::RejectRole},
    };
    static const ChoiceButton changed[] = {
        {"&Read the file again", Answer::Yes, QMessageBox::DestructiveRole},
        {"&Keep the window's version", Answer::No, QMessageBox::RejectRole},
    };
    auto* box = new QMessageBox(QMessageBox::Warning, fromUtf8(caption), fromUtf8(text),
                                QMessageBox::NoButton, parent);
    std::span<const ChoiceButton> buttons = kind == MessageBoxKind::Recover
                                                ? std::span<const ChoiceButton>(recover)
                                                : std::span<const ChoiceButton>(changed);
    for (const ChoiceButton& choice : buttons) {
        QPushButton* button = box->addButton(QString::fromUtf8(choice.text), choice.role);
        out.emplace_back(button, choice.answer);
    }
    // Enter keeps the safe choice: recovering loses nothing, and keeping
    // the window's version loses nothing either.
    box->setDefaultButton(static_cast<QPushButton*>(
        kind == MessageBoxKind::Recover ? out.front().first : out.back().first));
    box->setEscapeButton(out.back().first);
    return box;
}

PostedMessage answerMessage(Answer answer) {
    return {kAnswerMessage, static_cast<std::int64_t>(answer), {}};
}

}  // namespace

void setDialogScript(DialogScript* script) {
    g_script = script;
}

void showMessageBox(QWidget* parent, std::string_view text, std::string_view caption,
                    MessageBoxKind kind, PostAnswer post) {
    if (g_script != nullptr) {
        Answer answer = g_script->answerMessageBox(text, kind);
        post(answerMessage(kind == MessageBoxKind::Notice ? Answer::Ok : answer));
        return;
    }
    bool question = kind == MessageBoxKind::Question;
    bool confirm = kind == MessageBoxKind::Confirm || kind == MessageBoxKind::ConfirmDelete;
    bool choice = kind == MessageBoxKind::Recover || kind == MessageBoxKind::ChangedOnDisk;
    std::vector<std::pair<QAbstractButton*, Answer>> choices;
    QMessageBox* box = nullptr;
    if (choice) {
        box = choiceBox(parent, text, caption, kind, choices);
    } else if (confirm) {
        box = confirmBox(parent, text, caption, kind);
    } else {
        box = new QMessageBox(
            question ? QMessageBox::Question : QMessageBox::Information, fromUtf8(caption),
            fromUtf8(text),
            question ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Ok,
            parent);
        box->setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
        box->setEscapeButton(question ? QMessageBox::Cancel : QMessageBox::Ok);
    }
    // Messages quote documents and formulas; a "<" in them is not markup.
    box->setTextFormat(Qt::PlainText);
    const bool answered = question || confirm;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(
        box, &QDialog::finished, [box, answered, choices, post = std::move(post)](int) {
            Answer answer =
                answered ? answerFor(box->standardButton(box->clickedButton())) : Answer::Ok;
            if (!choices.empty()) answer = choices.back().second;
            for (const auto& [button, meaning] : choices)
                if (box->clickedButton() == button) answer = meaning;
            post(answerMessage(answer));
        });
    box->show();
}

void showFileDialog(QWidget* parent, const FileDialogRequest& request, PostAnswer post) {
    auto chosen = [post, id = request.replyMessage](const std::string& path) {
        post({id, 0, path});
    };
    if (g_script != nullptr) {
        if (std::optional<std::string> path = g_script->chooseFile(request)) chosen(*path);
        return;
    }
    auto* dialog =
        new QFileDialog(parent, request.save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    dialog->setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QString filter = toQtFileFilter(request.filter);
    if (!filter.isEmpty()) dialog->setNameFilters(filter.split(QStringLiteral(";;")));
    if (!request.defaultExtension.empty())
        dialog->setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.initialPath.empty()) {
        QString initial = fromUtf8(request.initialPath);
        if (QFileInfo(initial).isDir())
            dialog->setDirectory(initial);
        else
            dialog->selectFile(initial);
    }
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog, &QFileDialog::fileSelected,
                     [chosen](const QString& path) { chosen(path.toStdString()); });
    dialog->show();
}

}  // namespace qv::toolkit

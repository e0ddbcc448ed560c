// Message boxes and file dialogs: shown without blocking, answered by a
// click (or by a script in tests of the program), the answer posted back.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtDialogs.h"
#include "toolkit/qt/QtFileFilter.h"

namespace qv::toolkit {
namespace {

TEST(FileFilter, ProgramFiltersBecomeQtFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"Quorvatelle Documents(*.qvl),*.qvl,All Files(*.*),*.*,",
         "Quorvatelle Documents (*.qvl);;All Files (*)"},
        {"Quorvatelle  Documents(*.qvl),*.qvl,All Files(*.*),*.*,",
         "Quorvatelle  Documents (*.qvl);;All Files (*)"},
        {"Tables,*.txt;*.csv,", "Tables (*.txt *.csv)"},
        {",*.qvl,", "(*.qvl)"},
        {"Documents,*.qvl,Dangling", "Documents (*.qvl)"},
        {"No pattern,,", ""},
        {"", ""},
    };
    for (auto [filter, expected] : cases) {
        SCOPED_TRACE(filter);
        EXPECT_EQ(toQtFileFilter(filter).toStdString(), expected);
    }
}

class Dialogs : public ShownWindow {
  protected:
    template <class Dialog>
    static Dialog* openDialog() {
        settle();
        return qobject_cast<Dialog*>(QApplication::activeModalWidget());
    }
    // What a user does: type the name into the dialog's file name line.
    static void typeFileName(QFileDialog& dialog, const QString& name) {
        auto* line = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(line, nullptr);
        line->setText(name);
    }
};

struct BoxCase {
    const char* name;
    MessageBoxKind kind;
    std::function<void(QMessageBox&)> act;
    const char* expected;
};

TEST_F(Dialogs, MessageBoxesPostTheButtonChosen) {
    auto click = [](QMessageBox::StandardButton button) {
        return [button](QMessageBox& box) { box.button(button)->click(); };
    };
    auto escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
    const BoxCase cases[] = {
        {"yes", MessageBoxKind::Question, click(QMessageBox::Yes), "message 1025 0 "},
        {"no", MessageBoxKind::Question, click(QMessageBox::No), "message 1025 1 "},
        {"cancel", MessageBoxKind::Question, click(QMessageBox::Cancel), "message 1025 2 "},
        {"question escaped", MessageBoxKind::Question, escape, "message 1025 2 "},
        {"ok", MessageBoxKind::Notice, click(QMessageBox::Ok), "message 1025 3 "},
        {"notice escaped", MessageBoxKind::Notice, escape, "message 1025 3 "},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        listener.events.clear();
        window->showMessageBox("loan.qvl has changed,\n\nDo you want to save it? a<b>c</b>",
                               "Quorvatelle", c.kind);
        // Nothing answers inside the call: the program's step returns first.
        EXPECT_TRUE(listener.events.empty());
        auto* box = openDialog<QMessageBox>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Quorvatelle"));
        EXPECT_EQ(box->text(),
                  QStringLiteral("loan.qvl has changed,\n\nDo you want to save it? a<b>c</b>"));
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        bool question = c.kind == MessageBoxKind::Question;
        EXPECT_EQ(box->icon(), question ? QMessageBox::Question : QMessageBox::Information);
        EXPECT_EQ(box->standardButtons(),
                  question ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                           : QMessageBox::StandardButtons(QMessageBox::Ok));
        c.act(*box);
        settle();
        EXPECT_EQ(listener.events, std::vector<std::string>{c.expected});
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

// The boxes whose buttons say what they do: each button posts its answer;
// Escape and the close button take the choice that loses nothing.
TEST_F(Dialogs, ChoiceBoxesPostTheAnswerOfTheButtonChosen) {
    struct Case {
        MessageBoxKind kind;
        const char* button;  // its text without the mnemonic, or "escape"
        const char* expected;
    };
    const Case cases[] = {
        {MessageBoxKind::Recover, "Recover", "message 1025 0 "},
        {MessageBoxKind::Recover, "Open the saved file", "message 1025 1 "},
        {MessageBoxKind::Recover, "Decide later", "message 1025 2 "},
        {MessageBoxKind::Recover, "escape", "message 1025 2 "},
        {MessageBoxKind::ChangedOnDisk, "Read the file again", "message 1025 0 "},
        {MessageBoxKind::ChangedOnDisk, "Keep the window's version", "message 1025 1 "},
        {MessageBoxKind::ChangedOnDisk, "escape", "message 1025 1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        listener.events.clear();
        const char* text =
            c.kind == MessageBoxKind::Recover
                ? "/home/ann/loan.qvl has a recovery copy from 2026-12-10 13:00:00, newer than "
                  "the saved file.\n\nRecover the work of that copy, open the saved file (the "
                  "copy is removed), or decide later (the copy is kept)?"
                : "/home/ann/loan.qvl changed on disk.\n\nRead the file again, losing the "
                  "changes made in this window, or keep the window's version?";
        window->showMessageBox(text, "Quorvatelle", c.kind);
        auto* box = openDialog<QMessageBox>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        std::vector<std::string> texts;
        QAbstractButton* chosen = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            std::string text = button->text().remove(QLatin1Char('&')).toStdString();
            texts.push_back(text);
            if (text == c.button) chosen = button;
        }
        EXPECT_EQ(texts.size(), c.kind == MessageBoxKind::Recover ? 3u : 2u);
        if (const char* keep = std::getenv("QV_KEEP_DIALOGS")) {
            box->grab().save(QString::fromUtf8(keep) +
                             QStringLiteral("/box-%1.png").arg(static_cast<int>(c.kind)));
        }
        if (std::string_view(c.button) == "escape") {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            ASSERT_NE(chosen, nullptr);
            chosen->click();
        }
        settle();
        EXPECT_EQ(listener.events, std::vector<std::string>{c.expected});
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

FileDialogRequest openRequest(const QString& folder) {
    return {false, "Quorvatelle  Documents(*.qvl),*.qvl,All Files(*.*),*.*,", "qvl",
            folder.toStdString()};
}

TEST_F(Dialogs, OpenDialogPostsTheChosenFileAndNothingWhenCancelled) {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("loan.qvl"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    window->showFileDialog(openRequest(folder.path()));
    auto* dialog = openDialog<QFileDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    // Qt shows descriptions with their blanks simplified.
    EXPECT_EQ(dialog->nameFilters(), (QStringList{QStringLiteral("Quorvatelle Documents (*.qvl)"),
                                                  QStringLiteral("All Files (*)")}));
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
    typeFileName(*dialog, path);
    static_cast<QDialog*>(dialog)->accept();  // the Open or Save button
    settle();
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0], "message 1024 0 " + path.toStdString());

    listener.events.clear();
    window->showFileDialog(openRequest(folder.path()));
    dialog = openDialog<QFileDialog>();
    ASSERT_NE(dialog, nullptr);
    dialog->reject();
    settle();
    EXPECT_TRUE(listener.events.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Dialogs, SaveDialogAddsTheExtensionAndAsksBeforeReplacing) {
    QTemporaryDir folder;
    FileDialogRequest request{true, "Quorvatelle Documents(*.qvl),*.qvl,All Files(*.*),*.*,", "qvl",
                              folder.path().toStdString()};
    window->showFileDialog(request);
    auto* dialog = openDialog<QFileDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    typeFileName(*dialog, QStringLiteral("budget"));
    static_cast<QDialog*>(dialog)->accept();  // the Open or Save button
    settle();
    std::string budget = folder.filePath(QStringLiteral("budget.qvl")).toStdString();
    EXPECT_EQ(listener.events, std::vector<std::string>{"message 1024 0 " + budget});

    // An existing file: the dialog asks; No keeps the dialog open, Yes chooses.
    QFile existing(QString::fromStdString(budget));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        SCOPED_TRACE(answer == QMessageBox::Yes ? "yes" : "no");
        listener.events.clear();
        if (answer == QMessageBox::No) {
            window->showFileDialog(request);
            dialog = openDialog<QFileDialog>();
            ASSERT_NE(dialog, nullptr);
        }
        bool asked = false;
        QTimer::singleShot(0, [&] {
            auto* prompt = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (prompt == nullptr) return;
            asked = true;
            prompt->button(answer)->click();
        });
        typeFileName(*dialog, QString::fromStdString(budget));
        static_cast<QDialog*>(dialog)->accept();  // the Open or Save button
        settle();
        EXPECT_TRUE(asked);
        if (answer == QMessageBox::No) {
            EXPECT_TRUE(listener.events.empty());
            EXPECT_TRUE(dialog->isVisible());
        } else {
            EXPECT_EQ(listener.events, std::vector<std::string>{"message 1024 0 " + budget});
        }
    }
}

class ScriptedAnswers final : public DialogScript {
  public:
    std::vector<std::string> asked;
    Answer answerMessageBox(std::string_view text, MessageBoxKind) override {
        asked.emplace_back(text);
        return Answer::No;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        asked.push_back(request.filter);
        if (request.save) return std::nullopt;
        return "/tmp/chosen.qvl";
    }
};

TEST_F(Dialogs, AScriptAnswersInsteadOfTheUserStillThroughPostedMessages) {
    ScriptedAnswers script;
    setDialogScript(&script);
    window->showMessageBox("Save?", "Quorvatelle", MessageBoxKind::Question);
    window->showMessageBox("Failed", "Quorvatelle", MessageBoxKind::Notice);
    window->showFileDialog({false, "A,*.a,", "a", {}});
    window->showFileDialog({true, "B,*.b,", "b", {}});
    // A dialog with a reply of its own answers by that message.
    window->showFileDialog({false, "C,*.c,", "c", {}, 1300});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(listener.events.empty());
    settle();
    setDialogScript(nullptr);
    EXPECT_EQ(script.asked,
              (std::vector<std::string>{"Save?", "Failed", "A,*.a,", "B,*.b,", "C,*.c,"}));
    // A notice has only OK, whatever the script says; a cancelled save posts nothing.
    EXPECT_EQ(listener.events, (std::vector<std::string>{"message 1025 1 ", "message 1025 3 ",
                                                         "message 1024 0 /tmp/chosen.qvl",
                                                         "message 1300 0 /tmp/chosen.qvl"}));
}

}  // namespace
}  // namespace qv::toolkit

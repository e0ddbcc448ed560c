// A document flow on the headless window with a stand-in for the main
// panel: the host reads documents with the real reader (so its messages
// are the reader's own) and keeps its undo history in a real command
// manager whose commands note their names.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/DocumentFile.h"
#include "app/LoadFailure.h"
#include "desktop/DocumentFlow.h"
#include "editing/CommandManager.h"
#include "kernel/TableResult.h"
#include "model/ModelEditor.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/HeadlessPanel.h"

namespace qv::test {

// A step of the stand-in history: its name is in the list while it is done.
class NamedCommand final : public Command {
    QV_OBJECT(NamedCommand, Command, "NamedCommand")
  public:
    NamedCommand(std::vector<std::string>& done, std::string name)
        : m_done(done), m_name(std::move(name)) {}
    void redo() override { m_done.push_back(m_name); }
    void undo() override {
        if (!m_done.empty()) m_done.pop_back();
    }

  private:
    std::vector<std::string>& m_done;
    std::string m_name;
};

// A recovery text that takes a given number of slices, whatever the clock.
class SteppedText final : public RecoveryText {
  public:
    SteppedText(std::string text, int slices) : m_text(std::move(text)), m_left(slices) {}
    bool work(Clock::time_point) override { return --m_left <= 0; }
    std::string take() override { return std::move(m_text); }

  private:
    std::string m_text;
    int m_left;
};

class FakeFlowHost final : public DocumentFlowHost {
  public:
    void loadDocument(const StringPointer& text) override {
        ++readings;
        try {
            current = Document::read(text);
        } catch (const StringPointer& message) {
            if (placeOfErrors) throw PlacedMessage(message, *placeOfErrors);
            throw;
        }
    }
    StringPointer documentSource() override {
        return current->kernel()->toSource() + current->layout()->toSource();
    }
    std::unique_ptr<RecoveryText> recoveryText() override {
        if (recoverySlices <= 1) return DocumentFlowHost::recoveryText();
        return std::make_unique<SteppedText>(text(), recoverySlices);
    }
    void clearUndoHistory() override {
        undoHistory.clear();
        commands->clear();
    }
    std::optional<std::string> commitPendingEdit() override {
        if (pendingRefusal) return pendingRefusal;
        if (pendingFormula) {
            make<ModelEditor>(current->kernel()->program(), nullptr)
                ->setCellFormula(*current->kernel()->getTable(0), 0, 0, str(*pendingFormula));
            pendingFormula.reset();
            // The program records a committed edit as a step, as any model edit.
            executeCommand("cell edit");
        }
        return std::nullopt;
    }
    void markSavedPosition() override { commands->markClean(); }
    bool isAtSavedPosition() const override { return commands->isClean(); }
    std::vector<std::string> maximizedViewTitles() const override { return maximized; }
    std::uint64_t changeStamp() const override {
        return static_cast<std::uint64_t>(readings) * 1000000 +
               static_cast<std::uint64_t>(commands->undoCount()) * 1000 +
               static_cast<std::uint64_t>(commands->redoCount());
    }

    // A work-area command or a model edit, as the program records it.
    void executeCommand(const std::string& name) {
        commands->execute(make<NamedCommand>(undoHistory, name), true);
    }
    // The document as the program would write it, end mark included.
    std::string text() const {
        return current.isNull() ? "(none)" : current->toSource()->toStdString();
    }

    Pointer<Document> current;
    std::vector<std::string> undoHistory;  // the names of the done commands
    Pointer<CommandManager> commands = make<CommandManager>();
    std::vector<std::string> maximized;
    std::optional<TextPlace> placeOfErrors;
    // A cell edit still being typed: the formula its commit writes into the
    // first cell of the first table, or the reason it does not read.
    std::optional<std::string> pendingFormula;
    std::optional<std::string> pendingRefusal;
    int readings = 0;
    // The slices a recovery copy's text takes (1: made at once).
    int recoverySlices = 1;
};

// Hands the window's posted messages to the flow, as the main panel does.
class FlowListener final : public toolkit::WindowListener {
  public:
    explicit FlowListener(std::optional<DocumentFlow>& flow) : m_flow(flow) {}
    void paint(toolkit::Graphics&, const toolkit::Rect&) override {}
    void resized(toolkit::Size) override {}
    void mouse(toolkit::MouseKind, toolkit::Point, std::uint32_t) override {}
    void wheel(std::int32_t, toolkit::Point, std::uint32_t) override {}
    void key(std::int32_t, std::string_view, std::uint32_t) override {}
    void menuChosen(std::int32_t) override {}
    void message(const toolkit::PostedMessage& message) override {
        if (!m_flow || !m_flow->handleMessage(message)) ++unhandled;
    }
    void timer(std::int32_t) override {}
    void closeRequested() override { m_flow->exit(); }

    int unhandled = 0;

  private:
    std::optional<DocumentFlow>& m_flow;
};

inline constexpr const char* kDefaultText =
    "table Table1{\n}\noptimized(40,40) project(Table1);\n//--end";

// The default document as it is written to disk.
inline std::string defaultFileBytes() {
    return toDiskLineEnds(kDefaultText);
}

struct FlowFixture : HeadlessWindowFixture {
    FlowFixture() { window.setListener(&listener); }

    // Makes the flow with the start-up path, starts it and delivers the
    // answers it gets.
    void start(const std::string& startupPath = "") {
        flowSlot.emplace(window, host, startupPath);
        flow().start();
        window.deliverPosted();
    }
    DocumentFlow& flow() { return *flowSlot; }
    const DocumentFlow& flow() const { return *flowSlot; }
    template <class Command>
    void run(Command command) {
        (flow().*command)();
        window.deliverPosted();
    }
    std::string path() const { return flow().currentPath().value_or("(untitled)"); }

    ScratchFolder folder;
    FakeFlowHost host;
    std::optional<DocumentFlow> flowSlot;
    FlowListener listener{flowSlot};
};

}  // namespace qv::test

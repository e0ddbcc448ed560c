#include "editing/CommandManager.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "editing/CompoundCommand.h"

namespace qv {

CommandManager::CommandManager() : m_undo(make<Stack>()), m_redo(make<Stack>()) {}

void CommandManager::execute(const Pointer<Command>& command, bool apply) {
    if (command.isNull()) return;
    if (!command->isDraft()) dropDrafts();
    // The clean position lay in the redo history this command drops; the
    // current position shows the same text when nothing between the two
    // changed the document.
    if (m_cleanIndex > undoCount())
        m_cleanIndex = changesBetween(undoCount(), m_cleanIndex) ? kUnreachable : undoCount();
    m_undo->push(command);
    m_redo = make<Stack>();
    if (apply) command->redo();
}

// Drafts change nothing saved, so a clean position among them is the
// position below them; one in the redo history moves down with it.
void CommandManager::dropDrafts() {
    const std::int32_t before = undoCount();
    while (m_undo->size() > 0) {
        Pointer<Command> top = cast<Command>(m_undo->peek());
        if (top.isNull() || !top->isDraft()) break;
        m_undo->pop();
    }
    const std::int32_t dropped = before - undoCount();
    if (m_cleanIndex > before) {
        m_cleanIndex -= dropped;
    } else if (m_cleanIndex > undoCount()) {
        m_cleanIndex = undoCount();
    }
}

// Moves commands from one stack to the other up to and including the first
// significant one, calling each on the way.
void CommandManager::transfer(Stack& from, Stack& to, bool undoing) {
    while (from.size() > 0) {
        Pointer<Command> command = cast<Command>(from.pop());
        to.push(command);
        if (command.isNull()) continue;
        if (undoing) {
            command->undo();
        } else {
            command->redo();
        }
        if (command->isSignificant()) break;
    }
}

void CommandManager::joinNewest(std::int32_t count) {
    if (count < 2 || count > undoCount()) return;
    const std::int32_t first = undoCount() - count;
    const std::int32_t last = undoCount();
    // A clean position among the joined commands is one of the step's ends
    // when nothing between it and that end changes the document.
    std::int32_t clean = m_cleanIndex;
    if (clean > first && clean < last) {
        clean = !changesBetween(first, clean)  ? first
                : !changesBetween(clean, last) ? last
                                               : kUnreachable;
    }
    if (clean != kUnreachable && clean >= last) clean -= count - 1;
    std::vector<Pointer<Command>> steps(static_cast<std::size_t>(count));
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        *step = cast<Command>(m_undo->pop());
    m_undo->push(make<CompoundCommand>(std::move(steps)));
    m_cleanIndex = clean;
}

void CommandManager::undo() {
    transfer(*m_undo, *m_redo, true);
}

void CommandManager::redo() {
    transfer(*m_redo, *m_undo, false);
}

bool CommandManager::isClean() const {
    return m_cleanIndex != kUnreachable && !changesBetween(m_cleanIndex, undoCount());
}

Pointer<Command> CommandManager::commandAt(std::int32_t index) const {
    if (index < undoCount()) return cast<Command>(m_undo->elementAt(index));
    return cast<Command>(m_redo->elementAt(redoCount() - 1 - (index - undoCount())));
}

bool CommandManager::changesBetween(std::int32_t from, std::int32_t to) const {
    for (std::int32_t at = std::min(from, to); at < std::max(from, to); ++at) {
        Pointer<Command> command = commandAt(at);
        if (!command.isNull() && command->changesDocument()) return true;
    }
    return false;
}

void CommandManager::clear() {
    m_undo = make<Stack>();
    m_redo = make<Stack>();
    m_cleanIndex = 0;
}

StringPointer CommandManager::describe() const {
    std::string text = "undo----->\n";
    const auto list = [&text](const Stack& stack) {
        for (std::int32_t i = 0; i < stack.size(); ++i) {
            text += stack.elementAt(i).object()->describe()->view();
            text += '\n';
        }
    };
    list(*m_undo);
    text += "redo----->\n";
    list(*m_redo);
    return str(text);
}

}  // namespace qv

#include "editing/CommandManager.h"

#include <string>

namespace qv {

CommandManager::CommandManager() : m_undo(make<Stack>()), m_redo(make<Stack>()) {}

void CommandManager::execute(const Pointer<Command>& command, bool apply) {
    if (command.isNull()) return;
    // The clean position lay in the redo history this command drops.
    if (m_cleanIndex > undoCount()) m_cleanIndex = kUnreachable;
    m_undo->push(command);
    m_redo = make<Stack>();
    if (apply) command->redo();
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

void CommandManager::undo() {
    transfer(*m_undo, *m_redo, true);
}

void CommandManager::redo() {
    transfer(*m_redo, *m_undo, false);
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

// Checks that one recorded model edit moves the program between its text
// before and after it, as often as undo and redo take turns.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "editing/CommandManager.h"
#include "kernel/Kernel.h"

namespace qv::test {

inline std::string programText(const Kernel& kernel) {
    return kernel.program()->toSource()->toStdString();
}

inline void expectUndoAndRedoTakeTurns(CommandManager& commands, const Kernel& kernel,
                                       const std::string& before, const std::string& after) {
    ASSERT_EQ(commands.undoCount(), 1);
    for (int round = 0; round < 2; ++round) {
        commands.undo();
        EXPECT_EQ(programText(kernel), before);
        commands.redo();
        EXPECT_EQ(programText(kernel), after);
    }
}

}  // namespace qv::test

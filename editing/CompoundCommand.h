// Several commands done and undone as one step: redo runs them in order,
// undo backwards.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "editing/Command.h"

namespace qv {

class CompoundCommand final : public Command {
    QV_OBJECT(CompoundCommand, Command, "CompoundCommand")
  public:
    explicit CompoundCommand(std::vector<Pointer<Command>> steps) : m_steps(std::move(steps)) {}

    const std::vector<Pointer<Command>>& steps() const noexcept { return m_steps; }

    void redo() override {
        for (const Pointer<Command>& step : m_steps)
            step->redo();
    }
    void undo() override {
        for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step)
            (*step)->undo();
    }
    bool changesDocument() const override {
        return std::any_of(m_steps.begin(), m_steps.end(),
                           [](const Pointer<Command>& step) { return step->changesDocument(); });
    }

  private:
    std::vector<Pointer<Command>> m_steps;
};

}  // namespace qv

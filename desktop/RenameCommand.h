// An exact rename as one undoable step: the model's names and formulas
// (exchanged by the kernel's plan, so undo gives back the very text) and
// the expressions of the work area's result and project views that name
// the target.
#pragma once

#include <utility>
#include <vector>

#include "editing/AbstractEditable.h"
#include "editing/Command.h"
#include "kernel/RenamePlan.h"

namespace qv {

class RenameCommand final : public Command {
    QV_OBJECT(RenameCommand, Command, "RenameCommand")
  public:
    struct ViewEdit {
        Pointer<AbstractEditable> view;  // a result or a project view
        StringPointer before;
        StringPointer after;
    };

    RenameCommand(Pointer<ProgramDef> program, RenamePlan plan, std::vector<ViewEdit> views)
        : m_program(std::move(program)), m_plan(std::move(plan)), m_views(std::move(views)) {}

    const RenamePlan& plan() const noexcept { return m_plan; }
    const std::vector<ViewEdit>& views() const noexcept { return m_views; }

    void redo() override;
    void undo() override;
    StringPointer getName() const override { return str("rename"); }

  private:
    Pointer<ProgramDef> m_program;
    RenamePlan m_plan;
    std::vector<ViewEdit> m_views;
};

// Sets the expression of a result or a project view; other views are left.
void setViewExpression(const Pointer<AbstractEditable>& view, const StringPointer& expression);
// The expression of a result or a project view, or the null object.
StringPointer viewExpression(const Pointer<AbstractEditable>& view);
// "result(Books)", "project(Table1)".
std::string viewDirective(const Pointer<AbstractEditable>& view);

}  // namespace qv

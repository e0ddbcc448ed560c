#include "desktop/RenameCommand.h"

#include "views/ProjectEditable.h"
#include "views/ResultEditable.h"

namespace qv {

void RenameCommand::redo() {
    applyRename(*m_program, m_plan);
    for (const ViewEdit& edit : m_views)
        setViewExpression(edit.view, edit.after);
}

void RenameCommand::undo() {
    revertRename(*m_program, m_plan);
    for (const ViewEdit& edit : m_views)
        setViewExpression(edit.view, edit.before);
}

void setViewExpression(const Pointer<AbstractEditable>& view, const StringPointer& expression) {
    if (auto result = cast<ResultEditable>(view); !result.isNull())
        result->setExpression(expression);
    if (auto project = cast<ProjectEditable>(view); !project.isNull())
        project->setExpression(expression);
}

StringPointer viewExpression(const Pointer<AbstractEditable>& view) {
    if (auto result = cast<ResultEditable>(view); !result.isNull()) return result->expression();
    if (auto project = cast<ProjectEditable>(view); !project.isNull()) return project->expression();
    return StringPointer();
}

std::string viewDirective(const Pointer<AbstractEditable>& view) {
    StringPointer expression = viewExpression(view);
    std::string keyword = is<ProjectEditable>(view) ? "project" : "result";
    return keyword + "(" + (expression.isNull() ? "" : expression->toStdString()) + ")";
}

}  // namespace qv

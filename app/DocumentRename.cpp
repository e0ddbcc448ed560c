#include "app/DocumentRename.h"

#include "app/LayoutTable.h"
#include "kernel/NameSplice.h"

namespace qv {

std::vector<Pointer<Frame>> framesOf(const Layout& layout) {
    std::vector<Pointer<Frame>> frames;
    // A layout table's cells are frames of their own, row by row.
    auto add = [&frames](const Pointer<Frame>& frame, auto& self) -> void {
        frames.push_back(frame);
        auto table = cast<LayoutTable>(frame->element());
        if (table.isNull()) return;
        for (std::int32_t row = 0; row < table->rowCount(); ++row) {
            for (std::int32_t column = 0; column < table->columnCount(); ++column) {
                Pointer<Frame> cell = table->cell(row, column);
                if (!cell.isNull()) self(cell, self);
            }
        }
    };
    for (std::int32_t i = 0; i < layout.frameCount(); ++i)
        add(layout.frame(i), add);
    return frames;
}

namespace {

bool holdsExpression(ElementKind kind) {
    return kind == ElementKind::kResultView || kind == ElementKind::kProjectView;
}

// The expressions of the layout's result and project views, and for each
// the frame that shows it.
struct ViewExpressions {
    std::vector<StringPointer> texts;
    std::vector<Pointer<Frame>> frames;
};

ViewExpressions viewExpressionsOf(const Layout& layout) {
    ViewExpressions views;
    for (const Pointer<Frame>& frame : framesOf(layout)) {
        auto view = cast<ViewElement>(frame->element());
        if (view.isNull() || !holdsExpression(view->kind())) continue;
        views.texts.push_back(view->argument());
        views.frames.push_back(frame);
    }
    return views;
}

// Charts of the renamed table.
void renameCharts(Document& document, DocumentRename& rename) {
    const NameTarget& target = rename.plan.target;
    if (target.kind != NameTarget::Kind::kTable) return;
    for (const Pointer<Frame>& frame : framesOf(*document.layout())) {
        auto view = cast<ViewElement>(frame->element());
        if (view.isNull() || view->kind() != ElementKind::kChart) continue;
        if (document.kernel()->getTableIndex(view->argument()->view()) != target.tableIndex)
            continue;
        rename.views.push_back(
            {frame, view, make<ViewElement>(ElementKind::kChart, str(rename.plan.newName))});
    }
}

std::string directive(const ViewElement& view) {
    return std::string(elementKeyword(view.kind())) + "(" + view.argument()->toStdString() + ")";
}

}  // namespace

DocumentRename planDocumentRename(Document& document, std::string_view old,
                                  std::string_view newName) {
    ViewExpressions views = viewExpressionsOf(*document.layout());
    DocumentRename rename;
    rename.plan = planRename(*document.kernel(), parseNameTarget(old), newName, views.texts);
    if (rename.plan.refused()) return rename;
    for (const OutsideRewrite& rewrite : rename.plan.outside) {
        const Pointer<Frame>& frame = views.frames[static_cast<std::size_t>(rewrite.index)];
        auto view = cast<ViewElement>(frame->element());
        rename.views.push_back({frame, view, make<ViewElement>(view->kind(), rewrite.after)});
    }
    renameCharts(document, rename);
    return rename;
}

void applyDocumentRename(Document& document, const DocumentRename& rename) {
    if (rename.refused()) return;
    applyRename(*document.kernel()->program(), rename.plan);
    for (const auto& view : rename.views)
        view.frame->setElement(view.after);
}

void revertDocumentRename(Document& document, const DocumentRename& rename) {
    if (rename.refused()) return;
    revertRename(*document.kernel()->program(), rename.plan);
    for (const auto& view : rename.views)
        view.frame->setElement(view.before);
}

std::vector<DocumentReference> findDocumentReferences(Document& document, std::string_view old) {
    Kernel& kernel = *document.kernel();
    NameTarget target = parseNameTarget(old);
    findTarget(target, *kernel.getLinked());
    ViewExpressions views = viewExpressionsOf(*document.layout());
    std::vector<DocumentReference> found;
    for (const Reference& reference : findReferences(kernel, target, views.texts)) {
        DocumentReference each{reference, {}, {}};
        if (reference.kind == Reference::Kind::kView) {
            each.frame = views.frames[static_cast<std::size_t>(reference.place.field)];
            each.view = directive(*cast<ViewElement>(each.frame->element()));
        }
        found.push_back(std::move(each));
    }
    if (target.kind != NameTarget::Kind::kTable) return found;
    for (const Pointer<Frame>& frame : framesOf(*document.layout())) {
        auto view = cast<ViewElement>(frame->element());
        if (view.isNull() || view->kind() != ElementKind::kChart) continue;
        if (kernel.getTableIndex(view->argument()->view()) != target.tableIndex) continue;
        Reference reference{Reference::Kind::kView, {-1, -1, 0}, 0, view->argument()->length()};
        found.push_back({reference, frame, directive(*view)});
    }
    return found;
}

}  // namespace qv

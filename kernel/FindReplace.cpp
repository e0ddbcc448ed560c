#include "kernel/FindReplace.h"

#include <limits>

namespace qv {

namespace {

bool isIdentifier(std::string_view text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_';
        bool digit = ch >= '0' && ch <= '9';
        if (!letter && !(digit && i > 0)) return false;
    }
    return true;
}

std::string textOf(const StringPointer& text) {
    return text.isNull() ? std::string() : text->toStdString();
}

}  // namespace

std::optional<std::string> currentText(Kernel& kernel, const std::vector<std::string>& textAreas,
                                       const FindPlace& place) {
    if (place.kind == FindKind::TextArea) {
        if (place.textArea < 0 || place.textArea >= static_cast<std::int32_t>(textAreas.size()))
            return std::nullopt;
        return textAreas[static_cast<std::size_t>(place.textArea)];
    }
    if (place.kind != FindKind::Formula) return std::nullopt;
    const Pointer<ProgramDef>& program = kernel.program();
    if (place.table < 0 || place.table >= program->tableCount()) return std::nullopt;
    const Pointer<TableDef>& table = program->table(place.table);
    if (place.definition < 0 || place.definition >= table->fieldCount()) return std::nullopt;
    ExpressionPointer formula = table->field(place.definition)->formula(place.row);
    if (formula.isNull()) return std::nullopt;
    return textOf(formula->editText());
}

std::optional<PlannedText> planReplace(Kernel& kernel, const std::vector<std::string>& textAreas,
                                       const TextMatcher& matcher, const FindHit& hit,
                                       std::string_view replacement) {
    std::optional<std::string> text = currentText(kernel, textAreas, hit.place);
    if (!text || hit.span.end > text->size()) return std::nullopt;
    std::optional<TextMatcher::Span> found = matcher.find(*text, hit.span.start);
    if (!found || !(*found == hit.span)) return std::nullopt;
    std::string replaced = text->substr(0, hit.span.start);
    replaced.append(replacement);
    replaced.append(*text, hit.span.end);
    return PlannedText{hit.place, std::move(replaced), 1};
}

// The search lists the matches of every formula and text area in model
// order, a place's matches one after another; each place is replaced whole.
std::vector<PlannedText> planReplaceAll(Kernel& kernel, const std::vector<std::string>& textAreas,
                                        const TextMatcher& matcher, const FindScope& scope,
                                        std::string_view replacement,
                                        const std::atomic<bool>* stop) {
    FindSearch search(kernel, matcher, scope,
                      findKindBit(FindKind::Formula) | findKindBit(FindKind::TextArea), textAreas,
                      std::numeric_limits<std::size_t>::max());
    search.run(stop);
    std::vector<PlannedText> planned;
    const FindPlace* last = nullptr;
    for (const FindHit& hit : search.hits()) {
        if (last != nullptr && *last == hit.place) continue;
        last = &hit.place;
        std::optional<std::string> text = currentText(kernel, textAreas, hit.place);
        if (!text) continue;
        PlannedText entry{hit.place, {}, 0};
        entry.text = matcher.replaceAll(*text, replacement, entry.count);
        if (entry.count > 0) planned.push_back(std::move(entry));
    }
    return planned;
}

std::optional<NamedPlace> nameForRename(Kernel& kernel, const TextMatcher& matcher) {
    const FindOptions& options = matcher.options();
    const std::string& name = matcher.query();
    if (options.regularExpression || !options.wholeWord || !isIdentifier(name)) return std::nullopt;
    const Pointer<ResolvedProgram>& linked = kernel.getLinked();
    for (std::int32_t index = 0; index < linked->tableCount(); ++index) {
        const Pointer<TableDef>& definition = kernel.program()->table(index);
        if (!definition->tableName().isNull() && definition->tableName()->view() == name)
            return NamedPlace{FindKind::TableName, index};
    }
    for (std::int32_t index = 0; index < linked->tableCount(); ++index) {
        const ResolvedTable& table = *linked->table(index);
        std::int32_t field = table.fieldIndexOf(name);
        if (field >= 0 && table.definesField(field))
            return NamedPlace{FindKind::FieldName, index, field};
        if (std::optional<std::int32_t> row = table.rowIndexOf(name))
            return NamedPlace{FindKind::RowName, index, -1, *row};
    }
    return std::nullopt;
}

}  // namespace qv

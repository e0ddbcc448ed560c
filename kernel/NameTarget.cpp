#include "kernel/NameTarget.h"

#include "core/Errors.h"
#include "core/Number.h"
#include "kernel/ResolvedProgram.h"
#include "language/StringStream.h"

namespace qv {

std::string formulaName(std::string_view name) {
    std::string out;
    printName(out, str(name));
    return out;
}

std::string NameTarget::label() const {
    std::string text = formulaName(table);
    switch (kind) {
        case Kind::kTable:
            break;
        case Kind::kField:
            text += '.';
            text += formulaName(name);
            break;
        case Kind::kRow:
            text += '[';
            text += rowByNumber ? name : formulaName(name);
            text += ']';
            break;
    }
    return text;
}

namespace {

[[noreturn]] void badTarget(std::string_view text) {
    throwString(str("bad name ") + text + ": write Table, Table.field or Table[row]");
}

NameTarget readTarget(StringStream& stream) {
    NameTarget target;
    target.table = stream.readIdentifier()->toStdString();
    std::int32_t code = stream.peek()->code();
    if (code == kDot) {
        stream.next();
        target.kind = NameTarget::Kind::kField;
        target.name = stream.readIdentifier()->toStdString();
    } else if (code == kOpenBracket) {
        stream.next();
        target.kind = NameTarget::Kind::kRow;
        const Pointer<Token>& row = stream.peek();
        if (row->isNumber()) {
            target.rowByNumber = true;
            target.rowKey = stream.readNumber();
            target.name = std::to_string(target.rowKey);
        } else if (row->isString()) {
            target.name = stream.next()->text()->toStdString();
        } else {
            target.name = stream.readIdentifier()->toStdString();
        }
        stream.expect(kCloseBracket, "]");
    }
    if (stream.next()->code() != kEnd) throwMessage("unexpected character");
    return target;
}

}  // namespace

NameTarget parseNameTarget(std::string_view text) {
    try {
        auto stream = make<StringStream>(str(text));
        NameTarget target = readTarget(*stream);
        if (target.table.empty() ||
            (target.kind != NameTarget::Kind::kTable && target.name.empty()))
            badTarget(text);
        return target;
    } catch (const StringPointer&) {
        badTarget(text);
    }
}

namespace {

// A field by its name, or a user function by the name before its parameters.
std::int32_t fieldNamed(const ResolvedTable& table, std::string_view name) {
    std::int32_t field = table.fieldIndexOf(name);
    if (field >= 0) return field;
    for (std::int32_t i = 0; i < table.fieldCount(); ++i) {
        const Pointer<FunctionSignature>& signature = table.signatureOf(i);
        if (!signature.isNull() && signature->name()->equals(name)) return i;
    }
    return -1;
}

}  // namespace

void findTarget(NameTarget& target, const ResolvedProgram& program) {
    target.tableIndex = program.tableIndexOf(target.table);
    if (target.tableIndex < 0 || program.table(target.tableIndex).isNull())
        throwString(str(target.label()) + ": no such table");
    const ResolvedTable& table = *program.table(target.tableIndex);
    switch (target.kind) {
        case NameTarget::Kind::kTable:
            target.meaning = NameMeaning::ofTable(target.tableIndex);
            target.current = target.table;
            return;
        case NameTarget::Kind::kField:
            target.field = fieldNamed(table, target.name);
            if (target.field < 0) throwString(str(target.label()) + ": no such field");
            target.meaning = fieldMeaning(table, target.field);
            target.current = target.name;
            return;
        case NameTarget::Kind::kRow:
            break;
    }
    if (!target.rowByNumber) {
        std::optional<std::int32_t> key = table.rowIndexOf(target.name);
        if (!key) throwString(str(target.label()) + ": no such row");
        target.rowKey = *key;
    }
    target.meaning = rowMeaning(table, target.rowKey);
    if (target.meaning.kind != NameMeaning::Kind::kRow || target.rowKey < -1 ||
        target.rowKey >= table.rows()) {
        throwString(str(target.label()) + ": no such row");
    }
    ExpressionPointer name = table.formulaOf(table.nameField(), target.rowKey);
    StringPointer text = name.isNull() ? StringPointer() : name->nameText();
    if (text.isNull()) throwString(str(target.label()) + ": the row has no name");
    target.current = text->toStdString();
}

}  // namespace qv

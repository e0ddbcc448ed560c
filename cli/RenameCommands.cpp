// qvl refs and qvl rename: where a table, field or row is used, and an exact
// rename of it through the document layer (app/DocumentRename.h).
#include <cstdio>
#include <optional>

#include "app/BufferedOutput.h"
#include "app/DocumentRename.h"
#include "app/TerminalText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "cli/LineDiff.h"

namespace qv::cli {

namespace {

const char* kindName(Reference::Kind kind) {
    switch (kind) {
        case Reference::Kind::kFormula:
            return "formula";
        case Reference::Kind::kTableName:
            return "table";
        case Reference::Kind::kBaseClause:
            return "extends";
        case Reference::Kind::kFieldName:
            return "field";
        case Reference::Kind::kRowName:
            return "row name";
        case Reference::Kind::kView:
            return "view";
    }
    return "formula";
}

// What a reference line shows after its place: the formula, the view's
// directive, or what the model's own name is.
std::string shownText(const ProgramDef& program, const DocumentReference& found) {
    const Reference& reference = found.reference;
    switch (reference.kind) {
        case Reference::Kind::kTableName:
            return "table";
        case Reference::Kind::kBaseClause:
            return "extends " + program.table(reference.place.table)->baseName()->toStdString();
        case Reference::Kind::kFieldName:
            return "field";
        case Reference::Kind::kView:
            return found.view;
        default:
            break;
    }
    StringPointer text = referenceText(program, reference);
    return text.isNull() ? std::string() : text->toStdString();
}

std::string placeOf(const ProgramDef& program, const DocumentReference& found) {
    if (found.reference.kind == Reference::Kind::kView) return "view";
    return placeLabel(program, found.reference.place);
}

constexpr const char* kGuessNote = "  (after a dot: the only field of that name)";

// One line per place; a formula naming the target more than once says how often.
void writeText(const ProgramDef& program, const std::vector<DocumentReference>& references) {
    for (std::size_t i = 0; i < references.size();) {
        const DocumentReference& found = references[i];
        std::size_t uses = 1;
        bool guessed = found.reference.guessed;
        while (found.reference.kind != Reference::Kind::kView && i + uses < references.size() &&
               references[i + uses].reference.kind == found.reference.kind &&
               references[i + uses].reference.place == found.reference.place) {
            guessed = guessed || references[i + uses].reference.guessed;
            ++uses;
        }
        std::string line = placeOf(program, found) + ": " + shownText(program, found);
        if (uses > 1) line += "  (" + std::to_string(uses) + " uses)";
        if (guessed) line += kGuessNote;
        std::printf("%s\n", forTerminal(line).c_str());
        i += uses;
    }
}

void writeJsonNumberOrNull(BufferedOutput& out, bool present, std::int64_t number) {
    out << (present ? std::string_view(std::to_string(number)) : std::string_view("null"));
}

void writeJson(const ProgramDef& program, const std::string& target,
               const std::vector<DocumentReference>& references) {
    BufferedOutput out(stdout);
    out << "{\"target\": ";
    writeJsonString(out, target);
    out << ", \"references\": [";
    for (std::size_t i = 0; i < references.size(); ++i) {
        const DocumentReference& found = references[i];
        const Reference& reference = found.reference;
        const FormulaPlace& place = reference.place;
        bool inTable = reference.kind != Reference::Kind::kView;
        bool inFormula =
            reference.kind == Reference::Kind::kFormula ||
            reference.kind == Reference::Kind::kRowName ||
            (reference.kind == Reference::Kind::kView && reference.offset >= 0 && place.field >= 0);
        out << (i == 0 ? "\n  {\"kind\": " : ",\n  {\"kind\": ");
        writeJsonString(out, kindName(reference.kind));
        out << ", \"table\": ";
        if (inTable) {
            writeJsonString(out, program.table(place.table)->tableName()->view());
        } else {
            out << "null";
        }
        out << ", \"field\": ";
        if (inTable && place.field >= 0) {
            writeJsonString(out,
                            program.table(place.table)->field(place.field)->nameText()->view());
        } else {
            out << "null";
        }
        out << ", \"row\": ";
        writeJsonNumberOrNull(out, inTable && place.field >= 0, place.rowKey);
        out << ", \"text\": ";
        writeJsonString(out, shownText(program, found));
        out << ", \"offset\": ";
        writeJsonNumberOrNull(out, inFormula, reference.offset);
        out << ", \"length\": ";
        writeJsonNumberOrNull(out, inFormula, reference.length);
        out << ", \"guessed\": " << (reference.guessed ? "true" : "false") << "}";
    }
    out << (references.empty() ? "]}\n" : "\n]}\n");
}

}  // namespace

int runRefs(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("refs", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 2) return usageError("refs", "refs takes FILE and NAME");
    std::optional<std::string> format = textOrJson("refs", *options, status);
    if (!format) return status;
    const std::string& path = options->positional[0];
    Pointer<Document> document = load(path, Pointer<AbstractKernelFeedback>());
    if (document.isNull()) return 1;
    std::vector<DocumentReference> references;
    try {
        references = findDocumentReferences(*document, options->positional[1]);
    } catch (const StringPointer& message) {
        return documentFailure(path, message->view());
    }
    const ProgramDef& program = *document->kernel()->program();
    if (*format == "json") {
        writeJson(program, options->positional[1], references);
    } else {
        writeText(program, references);
    }
    return 0;
}

int runRename(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("rename", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 3)
        return usageError("rename", "rename takes FILE, OLD and NEW");
    const std::string& path = options->positional[0];
    if (!mayWriteBack("rename", *options, path, status)) return status;
    StringPointer text;
    Pointer<Document> document = load(path, Pointer<AbstractKernelFeedback>(), &text);
    if (document.isNull()) return 1;
    DocumentRename rename;
    try {
        rename = planDocumentRename(*document, options->positional[1], options->positional[2]);
    } catch (const StringPointer& message) {
        return documentFailure(path, message->view());
    }
    if (rename.refused()) return documentFailure(path, rename.plan.refusal->view());
    applyDocumentRename(*document, rename);
    std::fprintf(stderr, "qvl: %s: %s -> %s: %s\n", path.c_str(),
                 forTerminal(rename.plan.target.label()).c_str(),
                 forTerminal(formulaName(options->positional[2])).c_str(),
                 rename.summary().c_str());
    if (options->diff) {
        std::string diff = unifiedDiff(text->view(), document->toSource()->view(), path);
        std::fwrite(diff.data(), 1, diff.size(), stdout);
    } else if (!options->write) {
        writeDocumentSource(*document, stdout);
    }
    return options->write ? writeBack(*document, path) : 0;
}

}  // namespace qv::cli

// Renames the first fields and tables of every document that reads: a
// rename either is refused or writes a document that reads back as
// itself, and renaming back (or, where the old name is one a rename may
// not give, such as one holding control characters, reverting) gives the
// first text byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/DocumentRename.h"

namespace {

void renameAndBack(qv::Document& document, const std::string& old, const std::string& back) {
    using namespace qv;
    std::string before = document.toSource()->toStdString();
    DocumentRename rename = planDocumentRename(document, old, "fz_renamed");
    if (rename.refused()) return;
    applyDocumentRename(document, rename);
    StringPointer written = document.toSource();
    if (!Document::read(written)->toSource()->equals(written->view())) std::abort();
    DocumentRename undo = planDocumentRename(document, back, rename.plan.target.current);
    if (undo.refused()) {
        revertDocumentRename(document, rename);
    } else {
        applyDocumentRename(document, undo);
    }
    if (!document.toSource()->equals(before)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    Pointer<Document> document;
    try {
        document = Document::read(str({reinterpret_cast<const char*>(data), size}));
    } catch (const StringPointer&) {
        return 0;
    }
    const ProgramDef& program = *document->kernel()->program();
    for (std::int32_t t = 0; t < program.tableCount() && t < 3; ++t) {
        const Pointer<TableDef>& table = program.table(t);
        if (table.isNull() || table->tableName().isNull()) continue;
        std::string name = formulaName(table->tableName()->view());
        try {
            renameAndBack(*document, name, "fz_renamed");
            for (std::int32_t f = 0; f < table->fieldCount() && f < 3; ++f) {
                StringPointer field = table->field(f)->nameText();
                if (field->length() == 0) continue;
                renameAndBack(*document, name + "." + formulaName(field->view()),
                              name + ".fz_renamed");
            }
        } catch (const StringPointer&) {
            // A name the reader kept with a warning may not be found.
        }
    }
    return 0;
}

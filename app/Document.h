// Document: a model read headless — the kernel with its tables and the
// layout of its views as plain data — and its text as the program writes
// it: the program text, the layout text and the end mark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/FileParser.h"
#include "app/Layout.h"
#include "kernel/Kernel.h"

namespace qv {

class Document final : public Object {
    QV_OBJECT(Document, Object, "Document")
  public:
    // What File > New opens: one empty table and a project view of it.
    static constexpr std::string_view kNewDocumentText =
        "table Table1{} optimized(40,40) project(Table1);";
    // Closes every document text; the reader defines it.
    static constexpr std::string_view kEndMark = FileParser::kEndMark;

    Document(const Pointer<Kernel>& kernel, const Pointer<Layout>& layout);

    // Reads a document text. Only a complete, error-free reading yields a
    // document; otherwise the reader's message is thrown as a SourceError,
    // a StringPointer that also tells the line and column.
    static Pointer<Document> read(const StringPointer& text,
                                  const Pointer<AbstractKernelFeedback>& feedback = {});
    // Reads a file (see DocumentFile.h for its messages), then its text.
    static Pointer<Document> readFile(const std::string& path,
                                      const Pointer<AbstractKernelFeedback>& feedback = {});
    static Pointer<Document> makeNew(const Pointer<AbstractKernelFeedback>& feedback = {});

    const Pointer<Kernel>& kernel() const noexcept { return m_kernel; }
    const Pointer<Layout>& layout() const noexcept { return m_layout; }
    // What the reading accepted but changed (see FileParser::warnings).
    const std::vector<SourceError>& warnings() const noexcept { return m_warnings; }

    // The program text, the layout text and the end mark.
    StringPointer toSource() const override;
    // The comments the document keeps outside formula texts.
    std::int32_t commentCount() const;
    // Writes toSource() to the file, atomically (see DocumentFile.h).
    void writeFile(const std::string& path) const;

  private:
    Pointer<Kernel> m_kernel;
    Pointer<Layout> m_layout;
    std::vector<SourceError> m_warnings;
};

}  // namespace qv

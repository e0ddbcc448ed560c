#include "app/Document.h"

#include <limits>

#include "app/DocumentFile.h"
#include "app/FileParser.h"
#include "app/HeadlessViewFactory.h"
#include "core/Assert.h"
#include "core/Errors.h"

namespace qv {

Document::Document(const Pointer<Kernel>& kernel, const Pointer<Layout>& layout)
    : m_kernel(kernel), m_layout(layout) {
    QV_ASSERT(!kernel.isNull() && !layout.isNull());
}

Pointer<Document> Document::read(const StringPointer& text,
                                 const Pointer<AbstractKernelFeedback>& feedback) {
    auto parser = make<FileParser>(make<HeadlessViewFactory>(), feedback);
    parser->parse(text);
    auto document = make<Document>(parser->kernel(), cast<Layout>(parser->layoutRoot()));
    document->m_warnings = parser->warnings();
    return document;
}

Pointer<Document> Document::readFile(const std::string& path,
                                     const Pointer<AbstractKernelFeedback>& feedback) {
    return read(readDocumentFile(path), feedback);
}

Pointer<Document> Document::makeNew(const Pointer<AbstractKernelFeedback>& feedback) {
    return read(str(kNewDocumentText), feedback);
}

StringPointer Document::toSource() const {
    StringPointer program = m_kernel->toSource();
    StringPointer layout = m_layout->toSource();
    const std::string_view parts[] = {program->view(), layout->view(), kEndMark};
    // Texts are counted in 32 bits; a longer one cannot be made, let alone
    // read back.
    std::size_t total = parts[0].size() + parts[1].size() + parts[2].size();
    if (total >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throwMessage("document too large");
    }
    return concatenation(parts);
}

std::int32_t Document::commentCount() const {
    std::int32_t total = m_layout->commentCount();
    for (const auto& table : *m_kernel->program()->tables()) {
        if (!table.isNull()) total += table->commentCount();
    }
    return total;
}

void Document::writeFile(const std::string& path) const {
    writeDocumentFile(path, toSource()->view());
}

}  // namespace qv

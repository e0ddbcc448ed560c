// Reads documents with the headless view factory; every document that reads
// must write a text that reads back and writes the same text again, and
// keep every comment it kept the first time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/Document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    Pointer<Document> first;
    try {
        first = Document::read(str({reinterpret_cast<const char*>(data), size}));
    } catch (const StringPointer&) {
        return 0;
    }
    StringPointer written = first->toSource();
    // A written document that fails to read escapes as an exception: a finding.
    Pointer<Document> second = Document::read(written);
    if (!second->toSource()->equals(written->view())) std::abort();
    if (second->commentCount() < first->commentCount()) std::abort();
    return 0;
}

// Reads documents with the headless view factory; every document that
// reads must write a text that reads back and writes the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/Document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    StringPointer written;
    try {
        written = Document::read(str({reinterpret_cast<const char*>(data), size}))->toSource();
    } catch (const StringPointer&) {
        return 0;
    }
    // A written document that fails to read escapes as an exception: a finding.
    StringPointer again = Document::read(written)->toSource();
    if (!again->equals(written->view())) std::abort();
    return 0;
}

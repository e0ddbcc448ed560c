// Reads table definitions; every table that reads must write a text that
// reads back and writes the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "language/StringStream.h"
#include "language/TableParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    auto stream = make<StringStream>(str({reinterpret_cast<const char*>(data), size}));
    try {
        while (stream->peek()->isWord("table")) {
            StringPointer written = make<TableParser>()->parseTable(stream)->toSource();
            auto again = make<TableParser>()->parseTable(make<StringStream>(written));
            if (!again->toSource()->equals(written->view())) std::abort();
        }
    } catch (const StringPointer&) {
    }
    return 0;
}

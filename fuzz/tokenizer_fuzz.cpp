// Reads every token of the input; only a thrown message may end it early.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "language/StringStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    auto stream = make<StringStream>(str({reinterpret_cast<const char*>(data), size}));
    try {
        for (std::size_t i = 0; i <= size + 1; ++i) {
            if (stream->next()->code() == kEnd) break;
        }
    } catch (const StringPointer&) {
    }
    return 0;
}

// Parses the input as a formula, a field name and a reference expression.
// A formula that parses must print a text that parses to the same printing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "language/ExpressionParser.h"
#include "language/SourceExpressions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    StringPointer text = str({reinterpret_cast<const char*>(data), size});
    auto formula = make<ExpressionParser>()->parseFormula(text);
    if (is<ExpressionSource>(formula)) {
        StringPointer printed = cast<ExpressionSource>(formula)->expression()->toSource();
        auto again = make<ExpressionParser>()->parseFormula(printed);
        if (!is<ExpressionSource>(again) ||
            !cast<ExpressionSource>(again)->expression()->toSource()->equals(printed->view())) {
            std::abort();
        }
    }
    make<ExpressionParser>()->parseFieldName(text);
    try {
        make<ExpressionParser>()->parseAccess(text);
    } catch (const StringPointer&) {
    }
    return 0;
}

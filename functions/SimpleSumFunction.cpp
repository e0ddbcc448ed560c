#include "functions/SimpleSumFunction.h"

#include "core/Number.h"
#include "core/TextBudget.h"
#include "core/ValueConversions.h"
#include "functions/FunctionSupport.h"

namespace qv {

void SimpleSumFunction::start(std::int32_t) {
    m_accumulator = Pointer<Object>();
}

void SimpleSumFunction::add(std::int32_t, Arguments arguments) {
    Pointer<Object> value = argumentPointer(arguments, 0);
    if (m_accumulator.isNull()) {
        m_accumulator = std::move(value);
    } else {
        m_accumulator = combine(value, m_accumulator);
    }
}

Pointer<Object> SimpleSumFunction::result(std::int32_t) const {
    return m_accumulator;
}

Pointer<SumFunction> SumFunc_concat::newAccumulator() const {
    return make<SumFunc_concat>();
}

void SumFunc_concat::start(std::int32_t count) {
    SimpleSumFunction::start(count);
    m_text = Pointer<StringBuffer>();
}

// The same result as `combine` item by item, built in linear time.
void SumFunc_concat::add(std::int32_t index, Arguments arguments) {
    if (m_accumulator.isNull() && m_text.isNull()) {
        SimpleSumFunction::add(index, arguments);
        return;
    }
    if (m_text.isNull()) {
        m_text = make<StringBuffer>();
        m_text->append(toText(m_accumulator)->view());
        m_accumulator = Pointer<Object>();
    }
    StringPointer text = toText(argumentAt(arguments, 0));
    checkTextLength(static_cast<std::size_t>(m_text->length()) +
                    static_cast<std::size_t>(text->length()));
    takeTextBudget(static_cast<std::size_t>(text->length()));
    m_text->append(text->view());
}

void SumFunc_concat::finish() {
    if (m_text.isNull()) return;
    m_accumulator = str(m_text->view());
    m_text = Pointer<StringBuffer>();
}

// Before `finish` the text is still being collected; it is handed out as a
// String of its own.
Pointer<Object> SumFunc_concat::result(std::int32_t row) const {
    if (!m_text.isNull()) {
        // Each row of a running join gets a copy: a column of them grows
        // with the square of the rows.
        takeTextBudget(static_cast<std::size_t>(m_text->length()));
        return str(m_text->view());
    }
    return SimpleSumFunction::result(row);
}

Pointer<Object> SumFunc_concat::combine(const Pointer<Object>& value,
                                        const Pointer<Object>& accumulator) const {
    return joinTexts(toText(accumulator), toText(value));
}

Pointer<SumFunction> SumFunc__or::newAccumulator() const {
    return make<SumFunc__or>();
}

void SumFunc__or::start(std::int32_t) {
    m_accumulator = Boolean::of(false);
}

bool SumFunc__or::wantsMore() const {
    return !toBoolean(m_accumulator);
}

Pointer<Object> SumFunc__or::combine(const Pointer<Object>& value,
                                     const Pointer<Object>& accumulator) const {
    return Boolean::of(toBoolean(value) || toBoolean(accumulator));
}

Pointer<SumFunction> SumFunc__and::newAccumulator() const {
    return make<SumFunc__and>();
}

void SumFunc__and::start(std::int32_t) {
    m_accumulator = Boolean::of(true);
}

bool SumFunc__and::wantsMore() const {
    return m_accumulator.isNull() || toBoolean(m_accumulator);
}

Pointer<Object> SumFunc__and::combine(const Pointer<Object>& value,
                                      const Pointer<Object>& accumulator) const {
    return Boolean::of(toBoolean(value) && toBoolean(accumulator));
}

Pointer<SumFunction> SumFunc_min::newAccumulator() const {
    return make<SumFunc_min>();
}

Pointer<Object> SumFunc_min::combine(const Pointer<Object>& value,
                                     const Pointer<Object>& accumulator) const {
    return isGreater(*value.object(), *accumulator.object()) ? accumulator : value;
}

Pointer<SumFunction> SumFunc_max::newAccumulator() const {
    return make<SumFunc_max>();
}

Pointer<Object> SumFunc_max::combine(const Pointer<Object>& value,
                                     const Pointer<Object>& accumulator) const {
    return isGreater(*value.object(), *accumulator.object()) ? value : accumulator;
}

}  // namespace qv

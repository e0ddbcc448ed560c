#include "kernel/Evaluator.h"

#include <exception>
#include <new>

#include "core/Number.h"

namespace qv {

namespace {

constexpr const char* kDependsOnError = "depends on cell that contain error";
constexpr const char* kNestedTooDeeply = "calculation nested too deeply";

// Numbers, texts and truth values are by far the most common cached values;
// they skip the error tests.
bool isPlainValue(const Object& value) {
    TypeId id = value.classTypeId();
    return id == Double::typeId() || id == String::typeId() || id == Boolean::typeId();
}

Pointer<Object> newWarning(const char* message) {
    return make<Warning>(str(message));
}

}  // namespace

void raiseWarning(const Pointer<Warning>& warning) {
    throw warning;
}

void raiseSpecial(const Pointer<SpecialValue>& special) {
    throw special;
}

void raiseSpecialText(const char* text) {
    throw Pointer<SpecialValue>(make<StringSpecialValue>(str(text)));
}

Evaluator::Nesting::Nesting(Evaluator& evaluator) : m_evaluator(evaluator) {
    if (m_evaluator.m_depth >= kMaxDepth) throw str(kNestedTooDeeply);
    ++m_evaluator.m_depth;
}

Evaluator::Evaluator()
    : m_nullResult(NullResult::instance()),
      m_circular(make<StringSpecialValue>(str("(circular)"))) {}

Pointer<Object> Evaluator::evaluateTop(AbstractEvaluatable& evaluatable) {
    m_pendingAlternatives = 0;
    try {
        return evaluate(evaluatable);
    } catch (const Pointer<Warning>& warning) {
        return warning;
    } catch (const Pointer<SpecialValue>& special) {
        return special;
    }
}

Pointer<Object> Evaluator::evaluate(AbstractEvaluatable& evaluatable) {
    Object* cached = evaluatable.cachedValue();
    if (!cached->isNull()) {
        if (!isPlainValue(*cached)) raiseIfError(evaluatable, cached);
        return Pointer<Object>(cached);
    }
    Pointer<Object> result;
    if (m_depth >= kMaxDepth) {
        result = newWarning(kNestedTooDeeply);
    } else {
        ++m_depth;
        result = evaluateAlternatives(evaluatable);
        --m_depth;
    }
    if (m_pendingAlternatives > 0 && result->equals(*m_circular)) {
        evaluatable.setCachedValue(Pointer<Object>());
    } else {
        evaluatable.setCachedValue(result);
    }
    if (!isPlainValue(*result.object())) raiseIfError(evaluatable, result.object());
    return result;
}

void Evaluator::raiseIfError(AbstractEvaluatable& evaluatable, Object* value) {
    if (value->isInstanceOf(Warning::typeId())) {
        raiseWarning(Pointer<Warning>(static_cast<Warning*>(value)));
    }
    if (value->isInstanceOf(SpecialValue::typeId())) {
        raiseSpecial(make<StringSpecialValue>(value->toString()));
    }
    if (value->isInstanceOf(OnStack::typeId())) {
        if (m_pendingAlternatives > 0) {
            evaluatable.setCachedValue(Pointer<Object>());
        } else {
            evaluatable.setCachedValue(m_circular);
        }
        raiseSpecial(m_circular);
    }
}

Pointer<Object> Evaluator::evaluateAlternatives(AbstractEvaluatable& evaluatable) {
    std::int32_t count = evaluatable.alternativesOf();
    m_pendingAlternatives += count - 1;
    for (std::int32_t i = 0; i < count; ++i) {
        bool last = i == count - 1;
        if (i > 0) --m_pendingAlternatives;
        evaluatable.setCachedValue(OnStack::instance());
        Pointer<Object> result;
        try {
            result = evaluatable.computeAlternative(*this, i);
        } catch (const StringPointer& message) {
            if (last) return make<Warning>(message);
            continue;
        } catch (const Pointer<Warning>&) {
            if (last) return newWarning(kDependsOnError);
            continue;
        } catch (const Pointer<SpecialValue>& special) {
            if (!last && special->equals(*m_circular)) continue;
            return special;
        } catch (const std::bad_alloc&) {
            // A computation that exhausts memory shows it in its cell.
            if (last) return newWarning("out of memory");
            continue;
        } catch (const char* text) {
            if (last) return newWarning(text);
            continue;
        } catch (const std::exception& error) {
            if (last) return newWarning(error.what());
            continue;
        }
        if (result.isNull()) return result;
        if (!last && is<Warning>(result)) continue;
        return result;
    }
    return Pointer<Object>();
}

}  // namespace qv

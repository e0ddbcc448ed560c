#include "views/ModelProperties.h"

#include "core/Number.h"

namespace qv {

namespace {

constexpr std::string_view kMultiNames[] = {
    "show_expression", "show_default_expression", "show_col_num", "show_col_names", "show_row_num",
    "show_extra_col",  "show_extra_row",          "show_result",  "show_sum_row",
};

constexpr std::string_view kSingleNames[] = {"show_expression", "show_summary", "show_visible",
                                             "show_name"};

}  // namespace

StringPointer ModelProperties::propertyName(std::int32_t index) const {
    return str(inRange(index) ? m_names[static_cast<std::size_t>(index)] : std::string_view());
}

Pointer<Object> ModelProperties::propertyValue(std::int32_t index) const {
    if (!inRange(index)) return Pointer<Object>();
    return Boolean::of(m_model->flag(index));
}

void ModelProperties::setProperty(std::int32_t index, const Pointer<Object>& value) {
    if (!inRange(index) || !is<Boolean>(value)) return;
    m_model->setFlag(index, cast<Boolean>(value)->value());
    m_model->layout();
}

EvalMultiModelProperties::EvalMultiModelProperties(Pointer<Object> owner, FlaggedModel& model)
    : ModelProperties(std::move(owner), model, kMultiNames, "Table view properties") {}

EvalSingleModelProperties::EvalSingleModelProperties(Pointer<Object> owner, FlaggedModel& model)
    : ModelProperties(std::move(owner), model, kSingleNames, "Row view properties") {}

}  // namespace qv

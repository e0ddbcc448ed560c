// The view properties of the detailed and the heading view: a fixed list of
// named Boolean flags of the model. Setting one runs a new layout pass.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "views/PropertyList.h"

namespace qv {

// A model whose layout follows indexed Boolean flags.
class FlaggedModel {
  public:
    virtual ~FlaggedModel() = default;
    virtual bool flag(std::int32_t index) const = 0;
    virtual void setFlag(std::int32_t index, bool value) = 0;
    virtual void layout() = 0;
};

class ModelProperties : public PropertyList {
    QV_ABSTRACT_OBJECT(ModelProperties, PropertyList)
  public:
    // `owner` keeps the model alive while the properties are used.
    ModelProperties(Pointer<Object> owner, FlaggedModel& model,
                    std::span<const std::string_view> names, std::string_view title)
        : m_owner(std::move(owner)), m_model(&model), m_names(names), m_title(title) {}

    StringPointer propertyName(std::int32_t index) const override;
    StringPointer title() const override { return str(m_title); }
    std::int32_t propertyCount() const override {
        return static_cast<std::int32_t>(m_names.size());
    }
    Pointer<Object> propertyValue(std::int32_t index) const override;
    void setProperty(std::int32_t index, const Pointer<Object>& value) override;

  private:
    bool inRange(std::int32_t index) const { return index >= 0 && index < propertyCount(); }

    Pointer<Object> m_owner;
    FlaggedModel* m_model;
    std::span<const std::string_view> m_names;
    std::string_view m_title;
};

class EvalMultiModelProperties final : public ModelProperties {
    QV_OBJECT(EvalMultiModelProperties, ModelProperties, "EvalMultiModelProperties")
  public:
    EvalMultiModelProperties(Pointer<Object> owner, FlaggedModel& model);
};

class EvalSingleModelProperties final : public ModelProperties {
    QV_OBJECT(EvalSingleModelProperties, ModelProperties, "EvalSingleModelProperties")
  public:
    EvalSingleModelProperties(Pointer<Object> owner, FlaggedModel& model);
};

}  // namespace qv

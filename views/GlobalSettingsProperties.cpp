#include "views/GlobalSettingsProperties.h"

#include <iterator>
#include <string_view>

#include "core/Number.h"

namespace qv {

namespace {

enum class Holder { Settings, Kernel, Support };

struct Property {
    std::string_view name;
    Holder holder;
    bool GlobalSettings::*setting;
    SupportFlag supportFlag;
};

// ORDER DOCUMENT PROPERTY: the index is what the properties view addresses.
constexpr Property kProperties[] = {
    {"Show column numbers", Holder::Settings, &GlobalSettings::showColumnNumbers, {}},
    {"Show Formula", Holder::Settings, &GlobalSettings::showFormula, {}},
    {"Hide repeat values", Holder::Kernel, nullptr, {}},
    {"dock range", Holder::Settings, &GlobalSettings::dockRange, {}},
    {"High Contrast", Holder::Support, nullptr, SupportFlag::HighContrast},
    {"Show grid", Holder::Support, nullptr, SupportFlag::ShowGrid},
    {"double buffer", Holder::Settings, &GlobalSettings::doubleBuffer, {}},
    {"sort_indicator", Holder::Settings, &GlobalSettings::sortIndicator, {}},
    {"zero_row", Holder::Settings, &GlobalSettings::zeroRow, {}},
    {"summary_row", Holder::Settings, &GlobalSettings::summaryRow, {}},
    {"white_background", Holder::Support, nullptr, SupportFlag::WhiteBackground},
    {"draw_decorations", Holder::Support, nullptr, SupportFlag::DrawDecorations},
    {"Spreadsheet look", Holder::Settings, &GlobalSettings::spreadsheetLook, {}},
};

const Property* propertyAt(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(std::size(kProperties))) return nullptr;
    return &kProperties[index];
}

}  // namespace

GlobalSettingsProperties::GlobalSettingsProperties(const Pointer<GlobalSettings>& settings,
                                                   KernelSource kernel, SupportFlags& support)
    : m_settings(settings), m_kernel(std::move(kernel)), m_support(&support) {}

std::int32_t GlobalSettingsProperties::allPropertyCount() noexcept {
    return static_cast<std::int32_t>(std::size(kProperties));
}

StringPointer GlobalSettingsProperties::propertyName(std::int32_t index) const {
    const Property* property = propertyAt(index);
    return str(property == nullptr ? std::string_view() : property->name);
}

StringPointer GlobalSettingsProperties::title() const {
    return str("Document properties");
}

Pointer<Object> GlobalSettingsProperties::propertyValue(std::int32_t index) const {
    const Property* property = propertyAt(index);
    if (property == nullptr) return {};
    switch (property->holder) {
        case Holder::Settings:
            return Boolean::of((*m_settings).*(property->setting));
        case Holder::Support:
            return Boolean::of(m_support->flag(property->supportFlag));
        case Holder::Kernel:
            break;
    }
    Pointer<Kernel> kernel = m_kernel();
    // The kernel's flag starts true; without a kernel there is nothing to hide.
    return Boolean::of(kernel.isNull() ? true : kernel->getOptionFlag());
}

void GlobalSettingsProperties::setProperty(std::int32_t index, const Pointer<Object>& value) {
    const Property* property = propertyAt(index);
    if (property == nullptr || !is<Boolean>(value)) return;
    bool flag = cast<Boolean>(value)->value();
    switch (property->holder) {
        case Holder::Settings:
            (*m_settings).*(property->setting) = flag;
            return;
        case Holder::Support:
            m_support->setFlag(property->supportFlag, flag);
            return;
        case Holder::Kernel:
            break;
    }
    // The kernel marks its program as changed, so results are computed anew.
    Pointer<Kernel> kernel = m_kernel();
    if (!kernel.isNull()) kernel->setOptionFlag(flag);
}

}  // namespace qv

// The document properties: the settings, the kernel's option flag and the
// support's flags as one indexed list of Boolean properties, titled
// "Document properties". The properties view shows the first three; the
// rest are reachable by index. Setting a value writes it at once.
#pragma once

#include <functional>

#include "kernel/Kernel.h"
#include "views/GlobalSettings.h"
#include "views/PropertyList.h"
#include "views/SupportFlags.h"

namespace qv {

class GlobalSettingsProperties final : public PropertyList {
    QV_OBJECT(GlobalSettingsProperties, PropertyList, "GlobalSettingsProperties")
  public:
    // Asked at every use, so the properties follow the document shown even
    // after a load has replaced the kernel.
    using KernelSource = std::function<Pointer<Kernel>()>;

    // `support` must outlive the properties (the window's support does).
    GlobalSettingsProperties(const Pointer<GlobalSettings>& settings, KernelSource kernel,
                             SupportFlags& support);

    StringPointer propertyName(std::int32_t index) const override;
    StringPointer title() const override;
    std::int32_t propertyCount() const override { return 3; }
    Pointer<Object> propertyValue(std::int32_t index) const override;
    void setProperty(std::int32_t index, const Pointer<Object>& value) override;

    // Every property, shown or not.
    static std::int32_t allPropertyCount() noexcept;

  private:
    Pointer<GlobalSettings> m_settings;
    KernelSource m_kernel;
    SupportFlags* m_support;
};

}  // namespace qv

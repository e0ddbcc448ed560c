#include "kernel/LocalCallSite.h"

#include "core/Warning.h"
#include "kernel/ErrorOrigin.h"
#include "kernel/ValueKinds.h"

namespace qv {

const Pointer<Object>& LocalCallSite::dependsOn(std::int32_t field, std::int32_t row,
                                                const Pointer<Object>& error) {
    Pointer<Object>& shared = m_shared[{field, row}];
    if (shared.isNull()) {
        shared = make<Warning>(str(kDependsOnErrorText),
                               make<LocalCellOrigin>(m_call, m_table, field, row, error));
    }
    return shared;
}

LocalCallSite& LocalCallSiteSlot::site() {
    if (m_site.isNull()) m_site = make<LocalCallSite>(m_call, m_table);
    return *m_site;
}

}  // namespace qv

// The display settings of the document view, read by the table views at
// every layout pass. They belong to the window, not to the document: no
// document stores them, and New or Open keeps them.
#pragma once

#include "core/Object.h"

namespace qv {

class GlobalSettings final : public Object {
    QV_OBJECT(GlobalSettings, Object, "GlobalSettings")
  public:
    bool showColumnNumbers = false;
    bool spreadsheetLook = false;
    bool showFormula = false;
    bool dockRange = false;
    // Whether the window paints through an off-screen buffer.
    bool doubleBuffer = true;
    bool sortIndicator = true;
    bool zeroRow = true;
    bool summaryRow = true;

    StringPointer describe() const override;
};

}  // namespace qv

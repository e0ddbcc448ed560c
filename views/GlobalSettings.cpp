#include "views/GlobalSettings.h"

#include <string>

#include "core/String.h"

namespace qv {

StringPointer GlobalSettings::describe() const {
    auto flag = [](const char* name, bool value) {
        return std::string(name) + (value ? "=true" : "=false");
    };
    std::string text = "GlobalSettings(" + flag("show_column_numbers", showColumnNumbers) + "," +
                       flag("spreadsheet_look", spreadsheetLook) + "," +
                       flag("show_formula", showFormula) + "," + flag("dock_range", dockRange) +
                       "," + flag("double_buffer", doubleBuffer) + "," +
                       flag("sort_indicator", sortIndicator) + "," + flag("zero_row", zeroRow) +
                       "," + flag("summary_row", summaryRow) + ")";
    return str(text);
}

}  // namespace qv

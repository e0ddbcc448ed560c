// File dialog filters as the program writes them ("Documents(*.qvl),*.qvl,
// All Files(*.*),*.*,": description and pattern pairs, each followed by a
// comma) in Qt's form ("Documents (*.qvl);;All Files (*)").
#pragma once

#include <QString>
#include <string_view>

namespace qv::toolkit {

// A description keeps its own words; a parenthesised pattern list at its
// end is replaced by the pair's patterns. Several patterns may be joined
// by ";"; "*.*" becomes "*", so that files without an extension show too.
// An incomplete last pair is left out.
QString toQtFileFilter(std::string_view filter);

}  // namespace qv::toolkit

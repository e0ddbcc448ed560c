// Pages painted through the toolkit's drawing surface onto Qt's paged
// devices: a PDF made in memory (QPdfWriter), and the system's print
// dialog with its preview (QPrintPreviewDialog over a QPrinter). The page
// is A4 with margins of 15 mm; the painter is scaled so that one of the
// work area's pixels is 1/96 inch on paper.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/PageSink.h"

class QWidget;

namespace qv::toolkit {

// The PDF's bytes; false, with the reason in `error`, when it could not be
// made, or when `paint` stopped (error then empty).
bool encodePdfDocument(std::string_view title, const PagePainter& paint, std::string& bytes,
                       std::string& error);

// Shows the preview dialog (application-modal, without waiting); its Print
// button opens the system's print dialog.
void showPrintPreview(QWidget* parent, std::string_view title, PagePainter paint);

}  // namespace qv::toolkit

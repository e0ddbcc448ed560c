#include "toolkit/qt/QtFonts.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace qv::toolkit {

QFont toQFont(const Font& font, TextShaping shaping) {
    QFont qfont(QString::fromStdString(font.family));
    qfont.setPixelSize(font.pixelSize > 0 ? font.pixelSize : 1);
    qfont.setBold(font.bold);
    // Documents are laid out in whole pixels; hinting to the pixel grid
    // keeps widths the same at every scale factor.
    qfont.setHintingPreference(QFont::PreferFullHinting);
    if (shaping == TextShaping::Simple) qfont.setStyleStrategy(QFont::PreferNoShaping);
    return qfont;
}

void installFontSubstitutes() {
    if (QFontDatabase::hasFamily(QStringLiteral("Arial"))) return;
    // Liberation Sans and Arimo have Arial's widths, so layouts come out the
    // same; DejaVu Sans is wider but covers far more characters.
    const QStringList substitutes{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                  QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("arial"), substitutes);
    QFont::insertSubstitutions(QStringLiteral("Arial"), substitutes);
}

std::int32_t QtFontMetrics::textWidth(std::string_view utf8) const {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return m_metrics.horizontalAdvance(text);
}

}  // namespace qv::toolkit

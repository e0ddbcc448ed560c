#include "toolkit/qt/QtFileFilter.h"

#include <QStringList>

namespace qv::toolkit {

namespace {

QString patternsOf(const QString& pattern) {
    QStringList patterns;
    for (const QString& part : pattern.split(u';', Qt::SkipEmptyParts)) {
        QString one = part.trimmed();
        if (one.isEmpty()) continue;
        patterns.append(one == u"*.*" ? QStringLiteral("*") : one);
    }
    return patterns.join(u' ');
}

QString descriptionOf(QString description) {
    description = description.trimmed();
    if (description.endsWith(u')')) {
        qsizetype open = description.lastIndexOf(u'(');
        if (open >= 0) description.truncate(open);
    }
    return description.trimmed();
}

}  // namespace

QString toQtFileFilter(std::string_view filter) {
    QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split(u',');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = patternsOf(parts[i + 1]);
        if (patterns.isEmpty()) continue;
        QString description = descriptionOf(parts[i]);
        filters.append(description.isEmpty()
                           ? QStringLiteral("(%1)").arg(patterns)
                           : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace qv::toolkit

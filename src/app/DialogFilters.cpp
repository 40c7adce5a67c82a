#include "app/DialogFilters.h"

namespace sonvex::DialogFilters {

QStringList fromPipeText(const QString& pipeText)
{
    const QStringList parts = pipeText.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        filters << parts.at(i).trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

int indexOf(const QStringList& filters, const QString& selected)
{
    return int(filters.indexOf(selected)) + 1;
}

} // namespace sonvex::DialogFilters

#pragma once

#include <QStringList>

namespace sonvex::DialogFilters {

// Turns a filter text of the form "description|patterns|description|patterns..." (patterns
// separated by ";") into file dialog name filters "description (pattern pattern)". Descriptions
// that carry their own parentheses keep them.
QStringList fromPipeText(const QString& pipeText);

// The 1-based position of `selected` in `filters`; 0 when it is not there.
int indexOf(const QStringList& filters, const QString& selected);

} // namespace sonvex::DialogFilters

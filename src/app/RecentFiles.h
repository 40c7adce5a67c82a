#pragma once

#include <QStringList>

namespace sonvex::RecentFiles {

inline constexpr int kCount = 5;

// `name` on top, then the current entries that differ from it (empty ones keep their places),
// cut to five entries.
QStringList add(const QStringList& current, const QString& name);

// Exactly five entries: missing ones empty, extra ones dropped.
QStringList normalised(const QStringList& entries);

} // namespace sonvex::RecentFiles

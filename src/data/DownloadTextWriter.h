#pragma once

#include "data/DateTimeFormats.h"

#include <QStringList>

namespace sonvex {

class DataSet;

// Writes the records of a measurement table as download text, the text form of
// a badge data file: the title, a reader line when the records name a reader,
// the header with every column the loader reads, one line per record and the
// format lines. Loading the text again gives the same stored values.
namespace DownloadTextWriter {

QStringList write(const DataSet& meas, const UserFormats& formats);

// The header names in column order.
QStringList headerNames();

} // namespace DownloadTextWriter
} // namespace sonvex

#pragma once

#include <QByteArray>
#include <QString>

namespace sonvex {

class DataSet;

// The private binary form of a table, used only for the working file "temp.dat".
// It keeps every stored value exactly (doubles bit for bit) and loads the same
// way as an XML data packet.
namespace DataSetBinary {
bool looksBinary(const QByteArray& bytes);
QByteArray save(const DataSet& ds);
bool load(DataSet& ds, const QByteArray& bytes, QString* error);
} // namespace DataSetBinary

} // namespace sonvex

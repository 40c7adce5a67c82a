#pragma once

#include "data/DataSet.h"

#include <QByteArray>
#include <QMap>

namespace sonvex {

// The XML data packet: the table's exchange form in data files, SLM files,
// quick setups, activity names and activities.
namespace DataPacket {

enum class Encoding {
    Utf8, // encoding="UTF-8" declared
    Ansi, // no declaration, Windows-1252 bytes
};

struct Content
{
    QVector<FieldDef> fields;
    QVector<Row> rows; // current rows only, one value per field, in display order
    QMap<QString, QString> params;
    QVector<DataSet::Change> changes; // reconstructed from CHANGE_LOG
    bool wasUtf8 = false;
};

// Parses a whole packet. On failure returns false with a message that gives the
// position ("line 1, column 345: ...") and leaves `out` untouched.
bool parse(const QByteArray& bytes, Content* out, QString* error);

// Loads a packet into `ds`. A table without field definitions takes the packet's
// structure; a table with definitions keeps them and takes the packet's columns
// by name (columns it does not know are dropped, missing ones stay null).
// Nothing in `ds` changes when the packet cannot be read.
bool load(DataSet& ds, const QByteArray& bytes, QString* error);
void apply(DataSet& ds, Content&& c);

// Writes the table's current rows as a merged packet (no change log, no row states).
QByteArray save(const DataSet& ds, Encoding enc = Encoding::Utf8);
QByteArray write(const QVector<FieldDef>& fields, const QVector<Row>& rows, const QMap<QString, QString>& params,
                 Encoding enc = Encoding::Utf8);

// Value forms of the packet, exposed for the tests and the other writers.
QString formatFloat(double v);
QString formatDate(const QDate& d);
QString formatTime(const QTime& t);
QString formatDateTime(const QDateTime& dt);
QVariant parseValue(FieldType type, const QString& text, bool* ok);
QString fieldTypeName(FieldType t);

} // namespace DataPacket
} // namespace sonvex

#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace sonvex {

// The value types a table column can hold. They mirror the column types of the
// XML data packet so that a packet read and written again keeps its declarations.
enum class FieldType {
    String,     // "string": ANSI text, size = maximum characters
    WideString, // "string.uni"
    Int8,       // "i1"
    UInt8,      // "ui1"
    Int16,      // "i2"
    UInt16,     // "ui2"
    Int32,      // "i4"
    UInt32,     // "ui4"
    Int64,      // "i8"
    AutoInc,    // "i4" SUBTYPE="Autoinc"
    Float,      // "r8"
    Currency,   // "r8" SUBTYPE="Money"
    Bcd,        // "fixed"
    Boolean,    // "boolean"
    Date,       // "date"
    Time,       // "time"
    DateTime,   // "dateTime"
    Memo,       // "bin.hex" SUBTYPE="Text"
    WideMemo,   // "bin.hex" SUBTYPE="WideText"
    Blob,       // "bin.hex" with any other subtype: base64
};

bool isIntegerType(FieldType t);
bool isFloatType(FieldType t);
bool isTextType(FieldType t);

struct FieldDef
{
    QString name;        // field name used by the program
    FieldType type = FieldType::String;
    int size = 0;        // characters for strings, width for memos, precision for Bcd
    int decimals = 0;    // scale for Bcd
    QString displayLabel;
    QString displayFormat; // "#0.0" style; empty = general
    int precision = 15;    // significant digits of the general float form
    int displayWidth = 0;
    int tag = 0;           // default grid column position, 0 = not a default column
    bool visible = true;
    bool calculated = false;
    bool readOnly = false;
    bool required = false;
    bool packetHidden = false; // hidden="true" in the packet's metadata
    QString blobSubtype; // for Blob: "Binary", "Graphics", ... (empty = none)
    // Boolean display texts; set from the localizable "Yes;No" resource.
    QString trueText = QStringLiteral("True");
    QString falseText = QStringLiteral("False");

    QString label() const { return displayLabel.isEmpty() ? name : displayLabel; }

    // Factory helpers for table definitions.
    static FieldDef make(const QString& name, FieldType type, int size = 0, const QString& label = {});
};

// Date-times in tables are wall-clock values without a time zone. They are held
// as UTC so that no daylight-saving gap or shift can ever change them.
QDateTime naiveDateTime(const QDate& d, const QTime& t);

// Converts an arbitrary value to the representation a field of type `t` stores
// (QString, qint64, double, bool, QDate, QTime, QDateTime, QByteArray).
// Returns a null QVariant when the value is null or cannot be converted.
QVariant coerceValue(FieldType t, const QVariant& v, bool* ok = nullptr);

} // namespace sonvex

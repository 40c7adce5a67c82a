#include "data/FieldDef.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace sonvex {

bool isIntegerType(FieldType t)
{
    switch (t) {
    case FieldType::Int8:
    case FieldType::UInt8:
    case FieldType::Int16:
    case FieldType::UInt16:
    case FieldType::Int32:
    case FieldType::UInt32:
    case FieldType::Int64:
    case FieldType::AutoInc:
        return true;
    default:
        return false;
    }
}

bool isFloatType(FieldType t)
{
    return t == FieldType::Float || t == FieldType::Currency || t == FieldType::Bcd;
}

bool isTextType(FieldType t)
{
    return t == FieldType::String || t == FieldType::WideString || t == FieldType::Memo ||
           t == FieldType::WideMemo;
}

FieldDef FieldDef::make(const QString& name, FieldType type, int size, const QString& label)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.displayLabel = label;
    return f;
}

QDateTime naiveDateTime(const QDate& d, const QTime& t)
{
    return QDateTime(d, t, Qt::UTC);
}

QVariant coerceValue(FieldType t, const QVariant& v, bool* ok)
{
    auto result = [ok](const QVariant& r, bool good) {
        if (ok)
            *ok = good;
        return r;
    };
    if (!v.isValid() || v.isNull())
        return result(QVariant(), true);

    if (isTextType(t))
        return result(v.toString(), true);

    if (isIntegerType(t)) {
        bool good = false;
        qint64 n = 0;
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
            const double d = v.toDouble();
            good = std::isfinite(d);
            n = good ? static_cast<qint64>(std::llround(d)) : 0;
        } else if (v.typeId() == QMetaType::QString) {
            n = QLocale::c().toLongLong(v.toString().trimmed(), &good);
        } else if (v.typeId() == QMetaType::Bool) {
            n = v.toBool() ? 1 : 0;
            good = true;
        } else {
            n = v.toLongLong(&good);
        }
        return good ? result(QVariant::fromValue<qint64>(n), true) : result(QVariant(), false);
    }

    if (isFloatType(t)) {
        bool good = false;
        double d = 0;
        if (v.typeId() == QMetaType::QString)
            d = QLocale::c().toDouble(v.toString().trimmed(), &good);
        else
            d = v.toDouble(&good);
        if (!good || !std::isfinite(d))
            return result(QVariant(), false);
        return result(d, true);
    }

    switch (t) {
    case FieldType::Boolean:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return result(QVariant(), false);
            const QChar c = s.at(0).toUpper();
            return result(c == u'T' || c == u'Y' || c == u'1', true);
        }
        return result(v.toBool(), true);
    case FieldType::Date:
        if (v.typeId() == QMetaType::QDateTime)
            return result(v.toDateTime().date(), true);
        if (v.typeId() == QMetaType::QDate)
            return result(v, v.toDate().isValid());
        return result(QVariant(), false);
    case FieldType::Time:
        if (v.typeId() == QMetaType::QDateTime)
            return result(v.toDateTime().time(), true);
        if (v.typeId() == QMetaType::QTime)
            return result(v, v.toTime().isValid());
        return result(QVariant(), false);
    case FieldType::DateTime:
        if (v.typeId() == QMetaType::QDate)
            return result(naiveDateTime(v.toDate(), QTime(0, 0)), true);
        if (v.typeId() == QMetaType::QDateTime) {
            const QDateTime dt = v.toDateTime();
            return result(naiveDateTime(dt.date(), dt.time()), dt.isValid());
        }
        return result(QVariant(), false);
    case FieldType::Blob:
        return result(v.toByteArray(), true);
    default:
        return result(QVariant(), false);
    }
}

} // namespace sonvex

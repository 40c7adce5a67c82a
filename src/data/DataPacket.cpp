#include "data/DataPacket.h"

#include "data/DisplayFormat.h"
#include "data/TextCodec.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

namespace sonvex::DataPacket {

namespace {

QString tr(const char* s)
{
    return QCoreApplication::translate("DataPacket", s);
}

struct TypeName
{
    const char* name;
    FieldType type;
};

constexpr TypeName kTypes[] = {
    {"string", FieldType::String}, {"string.uni", FieldType::WideString},
    {"i1", FieldType::Int8},       {"ui1", FieldType::UInt8},
    {"i2", FieldType::Int16},      {"ui2", FieldType::UInt16},
    {"i4", FieldType::Int32},      {"ui4", FieldType::UInt32},
    {"i8", FieldType::Int64},      {"r8", FieldType::Float},
    {"fixed", FieldType::Bcd},     {"boolean", FieldType::Boolean},
    {"date", FieldType::Date},     {"time", FieldType::Time},
    {"dateTime", FieldType::DateTime},
};

bool fieldFromAttributes(const QXmlStreamAttributes& a, FieldDef* f, QString* why)
{
    const QString attr = a.value(QLatin1String("attrname")).toString();
    if (attr.isEmpty()) {
        *why = tr("a FIELD has no attrname");
        return false;
    }
    const QString fname = a.value(QLatin1String("fieldname")).toString();
    f->name = fname.isEmpty() ? attr : fname;
    const QString type = a.value(QLatin1String("fieldtype")).toString();
    const QString sub = a.value(QLatin1String("SUBTYPE")).toString();
    const auto isTrue = [&a](QLatin1String n) { return a.value(n).compare(u"true", Qt::CaseInsensitive) == 0; };
    f->readOnly = isTrue(QLatin1String("readonly"));
    f->required = isTrue(QLatin1String("required"));
    f->packetHidden = isTrue(QLatin1String("hidden"));
    bool ok = false;
    const int width = a.value(QLatin1String("WIDTH")).toInt(&ok);
    const int decimals = a.value(QLatin1String("DECIMALS")).toInt();
    bool known = false;
    if (type.compare(u"bin.hex", Qt::CaseInsensitive) == 0) {
        known = true;
        if (sub == u"Text") {
            f->type = FieldType::Memo;
        } else if (sub == u"WideText") {
            f->type = FieldType::WideMemo;
        } else {
            f->type = FieldType::Blob;
            f->blobSubtype = sub;
        }
        f->size = ok ? width : 0;
    } else {
        for (const TypeName& t : kTypes) {
            if (type.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0) {
                f->type = t.type;
                known = true;
                break;
            }
        }
        if (f->type == FieldType::Int32 && sub == u"Autoinc")
            f->type = FieldType::AutoInc;
        if (f->type == FieldType::Float && sub == u"Money")
            f->type = FieldType::Currency;
        if (f->type == FieldType::String)
            f->size = ok ? width : 0;
        else if (f->type == FieldType::WideString)
            f->size = ok ? width / 2 : 0;
        else if (f->type == FieldType::Bcd) {
            f->size = ok ? width : 0;
            f->decimals = decimals;
        }
    }
    if (!known) {
        *why = tr("field '%1' has the unsupported type '%2'").arg(f->name, type);
        return false;
    }
    return true;
}

// Reads "hh:nn:SSSSS" (five digits = seconds x 1000 + milliseconds).
QTime parseTimePart(QStringView s, bool* ok)
{
    *ok = false;
    if (s.size() < 8 || s.at(2) != u':' || s.at(5) != u':')
        return {};
    bool a = false, b = false, c = false;
    const int h = s.mid(0, 2).toInt(&a);
    const int m = s.mid(3, 2).toInt(&b);
    const int sss = s.mid(6).toInt(&c);
    if (!a || !b || !c || sss < 0)
        return {};
    QTime t(h, m, sss / 1000, sss % 1000);
    *ok = t.isValid();
    return t;
}

QDate parseDatePart(QStringView s, bool* ok)
{
    *ok = false;
    if (s.size() != 8)
        return {};
    bool a = false, b = false, c = false;
    const int y = s.mid(0, 4).toInt(&a);
    const int m = s.mid(4, 2).toInt(&b);
    const int d = s.mid(6, 2).toInt(&c);
    if (!a || !b || !c)
        return {};
    QDate date(y, m, d);
    *ok = date.isValid();
    return date;
}

void appendEscaped(QString& out, const QString& v, bool wide, bool ansiTarget)
{
    for (qsizetype i = 0; i < v.size(); ++i) {
        const QChar ch = v.at(i);
        const char16_t c = ch.unicode();
        switch (c) {
        case u'<':
            out += QLatin1String("&lt;");
            continue;
        case u'>':
            out += QLatin1String("&gt;");
            continue;
        case u'"':
            out += QLatin1String("&quot;");
            continue;
        case u'&':
            out += QLatin1String("&amp;");
            continue;
        case u'\'':
            out += QLatin1String("&apos;");
            continue;
        case u'\r':
            out += QLatin1String("&#013;");
            continue;
        case u'\n':
            out += QLatin1String("&#010;");
            continue;
        case u'\t':
            out += QLatin1String("&#009;");
            continue;
        case u'\\':
            out += QLatin1String("&#092;");
            continue;
        default:
            break;
        }
        if (c < 0x20)
            continue; // not representable in XML 1.0, not even as a reference
        if (ch.isSurrogate()) {
            // Characters outside the BMP are not accepted by older readers.
            if (ch.isHighSurrogate() && i + 1 < v.size() && v.at(i + 1).isLowSurrogate())
                ++i;
            out += QLatin1Char('?');
            continue;
        }
        if (c >= 0x80 && (wide || ansiTarget)) {
            out += QLatin1String("&#") + QString::number(int(c)) + QLatin1Char(';');
            continue;
        }
        out += ch;
    }
}

} // namespace

QString fieldTypeName(FieldType t)
{
    switch (t) {
    case FieldType::AutoInc:
        return QStringLiteral("i4");
    case FieldType::Currency:
        return QStringLiteral("r8");
    case FieldType::Memo:
    case FieldType::WideMemo:
    case FieldType::Blob:
        return QStringLiteral("bin.hex");
    default:
        for (const TypeName& n : kTypes)
            if (n.type == t)
                return QLatin1String(n.name);
    }
    return QStringLiteral("string");
}

QString formatFloat(double v)
{
    // Up to 16 significant digits, shortest form, exponent as "E38" / "E-5".
    return DisplayFormat::general(v, 16, QLocale::c());
}

QString formatDate(const QDate& d)
{
    return QString::asprintf("%04d%02d%02d", d.year(), d.month(), d.day());
}

QString formatTime(const QTime& t)
{
    return QString::asprintf("%02d:%02d:%05d", t.hour(), t.minute(), t.second() * 1000 + t.msec());
}

QString formatDateTime(const QDateTime& dt)
{
    const QTime t = dt.time();
    if (t == QTime(0, 0))
        return formatDate(dt.date());
    return formatDate(dt.date()) + QLatin1Char('T') + formatTime(t);
}

QVariant parseValue(FieldType type, const QString& text, bool* ok)
{
    *ok = true;
    if (isTextType(type))
        return text;
    if (text.isEmpty())
        return {}; // an empty attribute is null for every non-text type
    const QLocale c = QLocale::c();
    if (isIntegerType(type)) {
        const qint64 n = c.toLongLong(text, ok);
        return *ok ? QVariant::fromValue<qint64>(n) : QVariant();
    }
    if (isFloatType(type)) {
        const double d = c.toDouble(text, ok);
        if (!*ok || !std::isfinite(d)) {
            *ok = false;
            return {};
        }
        return d;
    }
    switch (type) {
    case FieldType::Boolean: {
        const QChar f = text.at(0).toUpper();
        return f == u'T';
    }
    case FieldType::Date: {
        const QDate d = parseDatePart(text, ok);
        return *ok ? QVariant(d) : QVariant();
    }
    case FieldType::Time: {
        const QTime t = parseTimePart(text, ok);
        return *ok ? QVariant(t) : QVariant();
    }
    case FieldType::DateTime: {
        const QStringView sv(text);
        const QDate d = parseDatePart(sv.left(8), ok);
        if (!*ok)
            return {};
        QTime t(0, 0);
        if (sv.size() > 8) {
            if (sv.at(8) != u'T') {
                *ok = false;
                return {};
            }
            t = parseTimePart(sv.mid(9), ok);
            if (!*ok)
                return {};
        }
        return naiveDateTime(d, t);
    }
    case FieldType::Blob:
        return QByteArray::fromBase64(text.toLatin1());
    default:
        *ok = false;
        return {};
    }
}

bool parse(const QByteArray& bytes, Content* out, QString* error)
{
    // Decide the encoding from the bytes themselves, then hand text to the XML reader.
    bool utf8 = false;
    QString text;
    if (TextCodec::hasUtf8Bom(bytes)) {
        utf8 = true;
        text = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    } else {
        const qsizetype declEnd = bytes.indexOf("?>");
        const QByteArray decl = declEnd > 0 ? bytes.left(declEnd) : QByteArray();
        static const QRegularExpression utf8Decl(QStringLiteral("encoding\\s*=\\s*[\"']utf-8[\"']"),
                                                 QRegularExpression::CaseInsensitiveOption);
        if (utf8Decl.match(QString::fromLatin1(decl)).hasMatch() && TextCodec::isValidUtf8(bytes, false)) {
            utf8 = true;
            text = QString::fromUtf8(bytes);
        } else {
            text = TextCodec::fromWindows1252(bytes);
        }
    }
    // The text is already decoded: the declaration's encoding must not be applied
    // again. It is blanked out with spaces so that error positions stay the same.
    if (text.startsWith(QLatin1String("<?xml"))) {
        const qsizetype end = text.indexOf(QLatin1String("?>"));
        const QLatin1String plain("<?xml version=\"1.0\"?>");
        if (end > 0 && end + 2 >= plain.size())
            text.replace(0, end + 2, plain + QString(end + 2 - plain.size(), u' '));
    }

    QXmlStreamReader xml(text);
    Content c;
    c.wasUtf8 = utf8;
    QString why;
    struct RawRow
    {
        int state = 0;
        Row values;
    };
    QVector<RawRow> raw;
    bool sawPacket = false, sawFields = false, sawRowData = false, rowDataClosed = false;
    QVector<QString> attrNames;

    while (!xml.atEnd() && why.isEmpty()) {
        const auto tok = xml.readNext();
        if (tok == QXmlStreamReader::EndElement && xml.name() == u"ROWDATA")
            rowDataClosed = true;
        if (tok != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (!sawPacket) {
            if (name != u"DATAPACKET") {
                why = tr("the root element is <%1>, not <DATAPACKET>").arg(name.toString());
                break;
            }
            sawPacket = true;
        } else if (name == u"FIELDS") {
            sawFields = true;
        } else if (name == u"FIELD") {
            if (sawRowData) {
                why = tr("a FIELD after ROWDATA");
                break;
            }
            FieldDef f;
            if (!fieldFromAttributes(a, &f, &why))
                break;
            const QString attr = a.value(QLatin1String("attrname")).toString();
            if (attrNames.contains(attr)) {
                why = tr("the field '%1' is declared twice").arg(attr);
                break;
            }
            c.fields.append(f);
            attrNames.append(a.value(QLatin1String("attrname")).toString());
        } else if (name == u"PARAMS") {
            for (const QXmlStreamAttribute& p : a)
                c.params.insert(p.name().toString(), p.value().toString());
        } else if (name == u"ROWDATA") {
            sawRowData = true;
        } else if (name == u"ROW") {
            if (!sawRowData) {
                why = tr("a ROW outside ROWDATA");
                break;
            }
            RawRow r;
            r.state = a.value(QLatin1String("RowState")).toInt();
            r.values.resize(c.fields.size());
            for (int i = 0; i < c.fields.size(); ++i) {
                if (!a.hasAttribute(attrNames.at(i)))
                    continue;
                bool ok = true;
                r.values[i] = parseValue(c.fields.at(i).type, a.value(attrNames.at(i)).toString(), &ok);
                if (!ok) {
                    why = tr("row %1: '%2' is not a valid value for field '%3'")
                              .arg(raw.size() + 1)
                              .arg(a.value(attrNames.at(i)).toString(), c.fields.at(i).name);
                    break;
                }
            }
            raw.append(std::move(r));
        }
    }
    if (why.isEmpty() && xml.hasError())
        why = xml.errorString();
    if (why.isEmpty() && (!sawPacket || !sawFields))
        why = tr("not an XML data packet (no DATAPACKET with METADATA/FIELDS)");
    if (why.isEmpty() && (!sawRowData || (!rowDataClosed && !raw.isEmpty())))
        why = tr("the packet has no complete ROWDATA");
    if (!why.isEmpty()) {
        if (error)
            *error = tr("line %1, column %2: %3").arg(xml.lineNumber()).arg(xml.columnNumber()).arg(why);
        return false;
    }

    // Current data: rows whose state is neither superseded (1), deleted (2) nor 0x20.
    // A modified version takes the place of the row it modifies (CHANGE_LOG: recNo prevRecNo kind).
    const QStringList log = c.params.value(QStringLiteral("CHANGE_LOG")).split(u' ', Qt::SkipEmptyParts);
    QVector<int> anchor(raw.size());
    for (int i = 0; i < raw.size(); ++i)
        anchor[i] = i;
    for (int k = 0; k + 2 < log.size(); k += 3) {
        const int rec = log.at(k).toInt() - 1;
        const int prev = log.at(k + 1).toInt() - 1;
        const int kind = log.at(k + 2).toInt();
        if (rec < 0 || rec >= raw.size())
            continue;
        DataSet::Change ch{DataSet::ChangeKind::Insert, {}};
        if (kind == 8 && prev >= 0 && prev < raw.size() && prev != rec) {
            anchor[rec] = anchor[prev];
            ch = {DataSet::ChangeKind::Modify, raw.at(prev).values};
        } else if (kind == 2) {
            ch = {DataSet::ChangeKind::Delete, raw.at(rec).values};
        } else if (kind != 4) {
            continue;
        }
        c.changes.append(ch);
    }
    QVector<int> order;
    for (RawRow& r : raw)
        r.values.resize(c.fields.size());
    for (int i = 0; i < raw.size(); ++i)
        if ((raw.at(i).state & 0x23) == 0)
            order.append(i);
    std::stable_sort(order.begin(), order.end(), [&anchor](int a, int b) { return anchor[a] < anchor[b]; });
    c.rows.reserve(order.size());
    for (int i : order)
        c.rows.append(std::move(raw[i].values));
    c.params.remove(QStringLiteral("CHANGE_LOG"));
    *out = std::move(c);
    return true;
}

void apply(DataSet& ds, Content&& c)
{
    const qint64 autoInc = c.params.value(QStringLiteral("AUTOINCVALUE")).toLongLong();
    const QVector<int> stored = ds.storedFieldIndexes();
    if (stored.isEmpty()) {
        ds.replaceContents(&c.fields, std::move(c.rows), autoInc);
    } else {
        // Map the packet's columns onto the defined fields by name.
        QVector<int> from;
        for (int col : stored) {
            int src = -1;
            for (int i = 0; i < c.fields.size(); ++i)
                if (c.fields.at(i).name.compare(ds.field(col).name, Qt::CaseInsensitive) == 0) {
                    src = i;
                    break;
                }
            from.append(src);
        }
        QVector<Row> rows;
        rows.reserve(c.rows.size());
        for (const Row& r : std::as_const(c.rows)) {
            Row out(stored.size());
            for (int k = 0; k < stored.size(); ++k)
                if (from.at(k) >= 0)
                    out[k] = coerceValue(ds.field(stored.at(k)).type, r.at(from.at(k)));
            rows.append(std::move(out));
        }
        ds.replaceContents(nullptr, std::move(rows), autoInc);
    }
    c.params.remove(QStringLiteral("AUTOINCVALUE"));
    ds.setPacketParams(c.params);
    if (ds.logChanges())
        ds.setChangeLog(c.changes);
}

bool load(DataSet& ds, const QByteArray& bytes, QString* error)
{
    Content c;
    if (!parse(bytes, &c, error))
        return false;
    apply(ds, std::move(c));
    return true;
}

QByteArray write(const QVector<FieldDef>& fields, const QVector<Row>& rows, const QMap<QString, QString>& params,
                 Encoding enc)
{
    const bool ansi = enc == Encoding::Ansi;
    QString out;
    out.reserve(1024 + rows.size() * 256);
    out += ansi ? QLatin1String("<?xml version=\"1.0\" standalone=\"yes\"?>  ")
                : QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>  ");
    out += QLatin1String("<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>");
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    QVector<QString> attrs;
    for (const FieldDef& f : fields) {
        QString attr = f.name;
        if (!safe.match(attr).hasMatch()) {
            attr.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]")), QStringLiteral("_"));
            if (attr.isEmpty() || attr.at(0).isDigit())
                attr.prepend(u'_');
        }
        // Attribute names must differ, also after unsafe characters were replaced.
        const QString base = attr;
        for (int k = 2; attrs.contains(attr); ++k)
            attr = base + QLatin1Char('_') + QString::number(k);
        out += QLatin1String("<FIELD ");
        if (attr != f.name) {
            out += QLatin1String("fieldname=\"");
            appendEscaped(out, f.name, false, true);
            out += QLatin1String("\" ");
        }
        attrs.append(attr);
        out += QLatin1String("attrname=\"") + attr + QLatin1String("\" fieldtype=\"") + fieldTypeName(f.type) +
               QLatin1Char('"');
        if (f.readOnly || f.type == FieldType::AutoInc)
            out += QLatin1String(" readonly=\"true\"");
        if (f.required)
            out += QLatin1String(" required=\"true\"");
        if (f.packetHidden)
            out += QLatin1String(" hidden=\"true\"");
        switch (f.type) {
        case FieldType::AutoInc:
            out += QLatin1String(" SUBTYPE=\"Autoinc\"");
            break;
        case FieldType::Currency:
            out += QLatin1String(" SUBTYPE=\"Money\"");
            break;
        case FieldType::Memo:
            out += QLatin1String(" SUBTYPE=\"Text\"");
            break;
        case FieldType::WideMemo:
            out += QLatin1String(" SUBTYPE=\"WideText\"");
            break;
        case FieldType::Blob:
            if (!f.blobSubtype.isEmpty())
                out += QLatin1String(" SUBTYPE=\"") + f.blobSubtype + QLatin1Char('"');
            break;
        default:
            break;
        }
        if (f.type == FieldType::String)
            out += QLatin1String(" WIDTH=\"") + QString::number(std::max(1, f.size)) + QLatin1Char('"');
        else if (f.type == FieldType::WideString)
            out += QLatin1String(" WIDTH=\"") + QString::number(2 * std::max(1, f.size)) + QLatin1Char('"');
        else if ((f.type == FieldType::Memo || f.type == FieldType::WideMemo || f.type == FieldType::Blob) &&
                 f.size > 0)
            out += QLatin1String(" WIDTH=\"") + QString::number(f.size) + QLatin1Char('"');
        else if (f.type == FieldType::Bcd)
            out += QLatin1String(" WIDTH=\"") + QString::number(f.size > 0 ? f.size : 19) +
                   QLatin1String("\" DECIMALS=\"") + QString::number(f.decimals) + QLatin1Char('"');
        out += QLatin1String("/>");
    }
    out += QLatin1String("</FIELDS><PARAMS");
    // The usual parameters in the order the component writes them, then any others.
    QStringList keys = {QStringLiteral("DEFAULT_ORDER"), QStringLiteral("PRIMARY_KEY"), QStringLiteral("LCID"),
                        QStringLiteral("AUTOINCVALUE")};
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        if (!keys.contains(it.key()))
            keys.append(it.key());
    for (const QString& key : std::as_const(keys)) {
        if (key == u"CHANGE_LOG" || !params.contains(key))
            continue;
        out += QLatin1Char(' ') + key + QLatin1String("=\"");
        appendEscaped(out, params.value(key), false, true);
        out += QLatin1Char('"');
    }
    out += QLatin1String("/></METADATA><ROWDATA>");
    for (const Row& r : rows) {
        out += QLatin1String("<ROW");
        for (int i = 0; i < fields.size() && i < r.size(); ++i) {
            const QVariant& v = r.at(i);
            if (!v.isValid())
                continue;
            const FieldDef& f = fields.at(i);
            QString text;
            bool escape = false;
            if (isTextType(f.type)) {
                text = v.toString();
                escape = true;
            } else if (isIntegerType(f.type)) {
                text = QString::number(v.toLongLong());
            } else if (isFloatType(f.type)) {
                const double d = v.toDouble();
                if (!std::isfinite(d))
                    continue; // never NaN or infinite: written as null
                text = formatFloat(d);
            } else if (f.type == FieldType::Boolean) {
                text = v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            } else if (f.type == FieldType::Date) {
                text = formatDate(v.toDate());
            } else if (f.type == FieldType::Time) {
                text = formatTime(v.toTime());
            } else if (f.type == FieldType::DateTime) {
                text = formatDateTime(v.toDateTime());
            } else if (f.type == FieldType::Blob) {
                text = QString::fromLatin1(v.toByteArray().toBase64());
            }
            out += QLatin1Char(' ') + attrs.at(i) + QLatin1String("=\"");
            if (escape)
                appendEscaped(out, text, f.type == FieldType::WideString || f.type == FieldType::WideMemo, ansi);
            else
                out += text;
            out += QLatin1Char('"');
        }
        out += QLatin1String("/>");
    }
    out += QLatin1String("</ROWDATA></DATAPACKET>");
    return ansi ? TextCodec::toWindows1252(out) : out.toUtf8();
}

QByteArray save(const DataSet& ds, Encoding enc)
{
    QVector<FieldDef> stored;
    for (int i : ds.storedFieldIndexes())
        stored.append(ds.field(i));
    QMap<QString, QString> params = ds.packetParams();
    bool hasAuto = false;
    for (const FieldDef& f : stored)
        hasAuto = hasAuto || f.type == FieldType::AutoInc;
    if (hasAuto)
        params.insert(QStringLiteral("AUTOINCVALUE"), QString::number(ds.autoIncNext()));
    return write(stored, ds.storedRows(), params, enc);
}

} // namespace sonvex::DataPacket

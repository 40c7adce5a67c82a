// sonvex-cli show FILE [--format tsv|csv|json] [--fields visible|all]

#include "CliCommand.h"
#include "CliData.h"

#include "data/DataPacket.h"
#include "data/DisplayFormat.h"
#include "data/SonvexDataModule.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace sonvex::cli {

namespace {

QString tr(const char* s)
{
    return QCoreApplication::translate("cli", s);
}

// A stored value in its file form (point decimals, ISO dates); calculated texts as they are.
QString valueText(const FieldDef& f, const QVariant& v)
{
    if (!v.isValid())
        return QString();
    if (isFloatType(f.type))
        return DataPacket::formatFloat(v.toDouble());
    switch (f.type) {
    case FieldType::Boolean:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case FieldType::Date:
        return v.toDate().toString(Qt::ISODate);
    case FieldType::Time:
        return v.toTime().toString(Qt::ISODateWithMs);
    case FieldType::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    case FieldType::Blob:
        return QString::fromLatin1(v.toByteArray().toBase64());
    default:
        return v.toString();
    }
}

QJsonValue valueJson(const FieldDef& f, const QVariant& v)
{
    if (!v.isValid())
        return QJsonValue::Null;
    if (isFloatType(f.type))
        return v.toDouble();
    if (isIntegerType(f.type))
        return double(v.toLongLong());
    if (f.type == FieldType::Boolean)
        return v.toBool();
    return valueText(f, v);
}

QString tsvCell(QString s)
{
    s.replace(u'\\', QLatin1String("\\\\"));
    s.replace(u'\t', QLatin1String("\\t"));
    s.replace(u'\r', QLatin1String("\\r"));
    s.replace(u'\n', QLatin1String("\\n"));
    return s;
}

QString csvCell(const QString& s)
{
    if (!s.contains(u',') && !s.contains(u'"') && !s.contains(u'\n') && !s.contains(u'\r'))
        return s;
    QString q = s;
    q.replace(u'"', QLatin1String("\"\""));
    return u'"' + q + u'"';
}

bool isMeasurementPacket(const DataPacket::Content& c)
{
    int hits = 0;
    for (const FieldDef& f : c.fields)
        if (f.name == u"read_order" || f.name == u"badge" || f.name == u"TimeHistoryCh1" || f.name == u"settings")
            ++hits;
    return hits == 4;
}

// A ".txt" file is an older data file when it has a header line, else a raw printout.
int textFilter(const QString& path)
{
    if (!path.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        return DataFilesController::DataFilesFilter;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        while (!f.atEnd())
            if (f.readLine(1 << 20).startsWith("#\t"))
                return DataFilesController::OlderDataFilesFilter;
    return DataFilesController::RawDownloadFilter;
}

int runShow(const QStringList& args, Io& io)
{
    QCommandLineParser p;
    p.addPositionalArgument(QStringLiteral("file"), tr("data file (XML data packet)"));
    p.addOption({QStringLiteral("format"), tr("tsv, csv or json"), QStringLiteral("format"), QStringLiteral("tsv")});
    p.addOption({QStringLiteral("fields"), tr("visible or all"), QStringLiteral("fields"), QStringLiteral("all")});
    if (!p.parse(QStringList{QStringLiteral("show")} + args) || p.positionalArguments().size() != 1) {
        io.err << "sonvex-cli show: " << (p.errorText().isEmpty() ? tr("one file expected") : p.errorText())
               << "\n"
               << tr("usage: sonvex-cli show FILE [--format tsv|csv|json] [--fields visible|all]") << "\n";
        return Usage;
    }
    const QString format = p.value(QStringLiteral("format"));
    const QString which = p.value(QStringLiteral("fields"));
    if ((format != u"tsv" && format != u"csv" && format != u"json") || (which != u"visible" && which != u"all")) {
        io.err << "sonvex-cli show: " << tr("unknown --format or --fields value") << "\n";
        return Usage;
    }
    const QString path = p.positionalArguments().constFirst();
    const QString shown = QDir::toNativeSeparators(path);

    // Calculated texts in a fixed form so that scripts see the same output everywhere.
    DisplayFormat::setLocale(QLocale::c());
    Tdm dm;
    DataSet generic;
    DataSet* table = &generic;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        io.err << "sonvex-cli: " << shown << ": " << file.errorString() << "\n";
        return BadInput;
    }
    const QByteArray head = file.peek(64);
    if (head.startsWith("<?xml") || head.startsWith("\xef\xbb\xbf<?xml") || head.startsWith("<DATAPACKET")) {
        // Any data packet: every field it declares, and for measurements the calculated ones.
        DataPacket::Content content;
        QString why;
        if (!DataPacket::parse(file.readAll(), &content, &why)) {
            io.err << "sonvex-cli: " << shown << ": " << why << "\n";
            return BadInput;
        }
        if (isMeasurementPacket(content)) {
            table = dm.CDSMeas();
            dm.createMeasTable();
        }
        DataPacket::apply(*table, std::move(content));
    } else {
        file.close();
        DataFilesController files(dm);
        const UserFormats formats = cliFormats();
        files.setUserFormats(formats);
        files.setPrintoutParser(printoutParser(formats));
        QString why;
        table = loadDataFile(path, dm, files, &why, textFilter(path));
        if (!table) {
            io.err << "sonvex-cli: " << shown << ": " << why << "\n";
            return BadInput;
        }
        dm.setDisplayLocale(QLocale::c());
    }

    QVector<int> cols;
    for (int i = 0; i < table->fieldCount(); ++i) {
        const FieldDef& f = table->field(i);
        if (which == u"all" || (f.visible && !f.packetHidden))
            cols.append(i);
    }

    if (format == u"json") {
        QJsonArray rows;
        for (int r = 0; r < table->recordCount(); ++r) {
            QJsonObject o;
            for (int c : cols)
                o.insert(table->field(c).name, valueJson(table->field(c), table->rowValue(r, c)));
            rows.append(o);
        }
        io.out << QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
        return Ok;
    }
    const bool csv = format == u"csv";
    const QString sep = csv ? QStringLiteral(",") : QStringLiteral("\t");
    QStringList header;
    for (int c : cols)
        header << (csv ? csvCell(table->field(c).name) : tsvCell(table->field(c).name));
    io.out << header.join(sep) << "\n";
    for (int r = 0; r < table->recordCount(); ++r) {
        QStringList line;
        for (int c : cols) {
            const QString t = valueText(table->field(c), table->rowValue(r, c));
            line << (csv ? csvCell(t) : tsvCell(t));
        }
        io.out << line.join(sep) << "\n";
    }
    return Ok;
}

const Registrar reg({"show", "show FILE [--format tsv|csv|json] [--fields visible|all]   print a data file's table",
                     runShow});

} // namespace
} // namespace sonvex::cli

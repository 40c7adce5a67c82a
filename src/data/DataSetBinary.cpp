#include "data/DataSetBinary.h"

#include "data/DataPacket.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>

namespace sonvex::DataSetBinary {

namespace {
const QByteArray kMagic("SVXDSET1");
constexpr quint32 kVersion = 1;
} // namespace

bool looksBinary(const QByteArray& bytes)
{
    return bytes.startsWith(kMagic);
}

QByteArray save(const DataSet& ds)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_4);
    s.writeRawData(kMagic.constData(), int(kMagic.size()));
    s << kVersion;
    const QVector<int> cols = ds.storedFieldIndexes();
    s << quint32(cols.size());
    for (int c : cols) {
        const FieldDef& f = ds.field(c);
        s << f.name << qint32(f.type) << qint32(f.size) << qint32(f.decimals) << f.readOnly << f.required
          << f.packetHidden << f.blobSubtype;
    }
    s << ds.packetParams() << qint64(ds.autoIncNext());
    const QVector<Row> rows = ds.storedRows();
    s << quint32(rows.size());
    for (const Row& r : rows)
        for (const QVariant& v : r)
            s << v;
    return out;
}

bool load(DataSet& ds, const QByteArray& bytes, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!looksBinary(bytes))
        return fail(QCoreApplication::translate("DataSetBinary", "not a Sonvex working table"));
    QDataStream s(bytes.mid(kMagic.size()));
    s.setVersion(QDataStream::Qt_6_4);
    quint32 version = 0, nFields = 0, nRows = 0;
    s >> version;
    if (version != kVersion)
        return fail(QCoreApplication::translate("DataSetBinary", "unknown working table version %1").arg(version));
    s >> nFields;
    if (s.status() != QDataStream::Ok || nFields > 10000)
        return fail(QCoreApplication::translate("DataSetBinary", "damaged field list"));
    DataPacket::Content c;
    for (quint32 i = 0; i < nFields; ++i) {
        FieldDef f;
        qint32 type = 0, size = 0, decimals = 0;
        s >> f.name >> type >> size >> decimals >> f.readOnly >> f.required >> f.packetHidden >> f.blobSubtype;
        if (type < 0 || type > qint32(FieldType::Blob))
            return fail(QCoreApplication::translate("DataSetBinary", "damaged field list"));
        f.type = FieldType(type);
        f.size = size;
        f.decimals = decimals;
        c.fields.append(f);
    }
    qint64 autoInc = 0;
    s >> c.params >> autoInc >> nRows;
    if (s.status() != QDataStream::Ok)
        return fail(QCoreApplication::translate("DataSetBinary", "damaged header"));
    c.params.insert(QStringLiteral("AUTOINCVALUE"), QString::number(autoInc));
    for (quint32 r = 0; r < nRows; ++r) {
        Row row(static_cast<qsizetype>(nFields));
        for (quint32 i = 0; i < nFields; ++i)
            s >> row[int(i)];
        if (s.status() != QDataStream::Ok)
            return fail(QCoreApplication::translate("DataSetBinary", "the table is cut short at row %1").arg(r + 1));
        c.rows.append(std::move(row));
    }
    DataPacket::apply(ds, std::move(c));
    return true;
}

} // namespace sonvex::DataSetBinary

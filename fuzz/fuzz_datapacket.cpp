// Any bytes as an XML data packet: parsed, loaded into a table and into the
// measurement table, and written again.
#include "data/DataPacket.h"
#include "data/SonvexDataModule.h"

#include <QCoreApplication>

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    sonvex::DataSet generic;
    QString error;
    if (sonvex::DataPacket::load(generic, bytes, &error)) {
        const QByteArray again = sonvex::DataPacket::save(generic);
        sonvex::DataSet back;
        if (!sonvex::DataPacket::load(back, again, &error) || back.recordCount() != generic.recordCount()) {
            fprintf(stderr, "written packet does not read back: %s\n%s\n", qPrintable(error), again.constData());
            __builtin_trap(); // what we write must read back
        }
    }
    sonvex::Tdm dm;
    dm.createMeasTable();
    sonvex::DataPacket::load(*dm.CDSMeas(), bytes, &error);
    return 0;
}

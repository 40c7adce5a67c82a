// Any text as download text, loaded into the measurement table.
#include "data/DownloadText.h"
#include "data/SonvexDataModule.h"
#include "data/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList lines = sonvex::DownloadText::splitLines(sonvex::TextCodec::decodeText(bytes));
    sonvex::Tdm dm;
    dm.createMeasTable();
    sonvex::DownloadTextContext ctx;
    ctx.user = sonvex::UserFormats::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    ctx.today = QDate(2026, 12, 11);
    sonvex::DownloadText::LoadDownloadText(lines, *dm.CDSMeas(), ctx);
    return 0;
}

// Any text as a Reader printout, through the print-dump parser and the loader.
#include "data/DownloadText.h"
#include "data/SonvexDataModule.h"
#include "data/TextCodec.h"
#include "instruments/KVTReaderPrintout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList printout = sonvex::DownloadText::splitLines(sonvex::TextCodec::decodeText(bytes));
    const auto formats = sonvex::UserFormats::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QStringList text = sonvex::ParsePrintout(
        printout, sonvex::PrintoutContext::fromUserFormats(formats, QDateTime(QDate(2026, 12, 11), QTime(9, 0), Qt::UTC)));
    sonvex::Tdm dm;
    dm.createMeasTable();
    sonvex::DownloadTextContext ctx;
    ctx.user = formats;
    sonvex::DownloadText::LoadDownloadText(text, *dm.CDSMeas(), ctx);
    return 0;
}

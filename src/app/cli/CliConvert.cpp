// sonvex-cli convert IN OUT [--to text|xml]

#include "CliCommand.h"
#include "CliData.h"

#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "data/DownloadTextWriter.h"
#include "data/SonvexDataModule.h"
#include "data/TextFile.h"

#include <QFileInfo>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace sonvex::cli {

namespace {

QString tr(const char* s)
{
    return QCoreApplication::translate("cli", s);
}

int runConvert(const QStringList& args, Io& io)
{
    QCommandLineParser p;
    p.addPositionalArgument(QStringLiteral("in"), tr("badge data file or raw printout (.kvntm .xml .txt .prt)"));
    p.addPositionalArgument(QStringLiteral("out"), tr("data file to write (.kvntm or .xml)"));
    p.addOption({QStringLiteral("to"), tr("text or xml (default: the other form; raw printouts become text)"),
                 QStringLiteral("form")});
    if (!p.parse(QStringList{QStringLiteral("convert")} + args) || p.positionalArguments().size() != 2) {
        io.err << "sonvex-cli convert: " << (p.errorText().isEmpty() ? tr("two files expected") : p.errorText())
               << "\n"
               << tr("usage: sonvex-cli convert IN OUT [--to text|xml]") << "\n";
        return Usage;
    }
    const QString in = p.positionalArguments().at(0);
    const QString out = p.positionalArguments().at(1);
    QString to = p.value(QStringLiteral("to"));
    if (!to.isEmpty() && to != u"text" && to != u"xml") {
        io.err << "sonvex-cli convert: " << tr("--to must be text or xml") << "\n";
        return Usage;
    }
    if (QFileInfo(in).absoluteFilePath() == QFileInfo(out).absoluteFilePath()) {
        io.err << "sonvex-cli convert: " << tr("the output must be another file than the input") << "\n";
        return Usage;
    }

    Tdm dm;
    DataFilesController files(dm);
    const UserFormats formats = cliFormats();
    files.setUserFormats(formats);
    files.setPrintoutParser(printoutParser(formats));
    const QString ext = QFileInfo(in).suffix().toLower();
    const bool raw = ext == u"prt" || ext == u"txt";
    QString why;
    DataSet* table = loadDataFile(in, dm, files, &why,
                                  raw ? DataFilesController::RawDownloadFilter : DataFilesController::DataFilesFilter);
    if (!table) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(in) << ": " << why << "\n";
        return BadInput;
    }
    if (files.dataKind() != 1) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(in) << ": " << tr("not a badge data file") << "\n";
        return BadInput;
    }
    if (to.isEmpty())
        to = out.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive) || (!raw && !files.xmlDataLoaded())
                 ? QStringLiteral("xml")
                 : QStringLiteral("text");
    bool ok = false;
    if (to == u"xml") {
        const QByteArray bytes = DataPacket::save(*table);
        QSaveFile f(out);
        ok = f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
        why = f.errorString();
    } else {
        // Text read from a file is written as it was; a data packet becomes download text.
        const QStringList lines =
            files.xmlDataLoaded() ? DownloadTextWriter::write(*table, formats) : files.dataFileLines();
        ok = files.xmlDataLoaded() ? TextFile::write(out, lines, false, &why) : files.WriteDataFile(lines, out, &why);
    }
    if (!ok) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(out) << ": " << why << "\n";
        return Failure;
    }
    io.out << tr("%1 measurement(s) written to %2 (%3)")
                  .arg(table->recordCount())
                  .arg(QDir::toNativeSeparators(out), to)
           << "\n";
    return Ok;
}

// A raw printout saved the way a download is: parsed, loaded and kept as the next
// automatic download file of the data folder.
int runImport(const QStringList& args, Io& io)
{
    QCommandLineParser p;
    p.addPositionalArgument(QStringLiteral("printout"), tr("raw printout capture (.prt .txt)"));
    p.addOption({QStringLiteral("data-folder"), tr("folder of the automatic download files"), QStringLiteral("dir")});
    if (!p.parse(QStringList{QStringLiteral("import")} + args) || p.positionalArguments().size() != 1 ||
        !p.isSet(QStringLiteral("data-folder"))) {
        io.err << "sonvex-cli import: " << (p.errorText().isEmpty() ? tr("wrong arguments") : p.errorText())
               << "\n"
               << tr("usage: sonvex-cli import PRINTOUT --data-folder DIR") << "\n";
        return Usage;
    }
    const QString in = p.positionalArguments().constFirst();
    Tdm dm;
    DataFilesController files(dm);
    const UserFormats formats = cliFormats();
    files.setUserFormats(formats);
    const auto parser = printoutParser(formats);
    if (!parser) {
        io.err << "sonvex-cli: " << tr("this build cannot read printouts") << "\n";
        return Failure;
    }
    files.setFolders(QString(), p.value(QStringLiteral("data-folder")));
    TextFile::Content content;
    QString why;
    if (!TextFile::read(in, &content, &why)) {
        io.err << "sonvex-cli: " << why << "\n";
        return BadInput;
    }
    // The raw copy comes first: the file's modification time is the download time.
    const QStringList lines = parser(content.lines, QFileInfo(in).lastModified());
    const auto saved = files.acceptDownload(lines);
    if (!saved) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(p.value(QStringLiteral("data-folder"))) << ": "
               << tr("the download could not be saved in the data folder") << "\n";
        return Failure;
    }
    io.out << QDir::toNativeSeparators(*saved) << "\n";
    return dm.CDSMeas()->recordCount() > 0 ? Ok : BadInput;
}

const Registrar regImport({"import", "import PRINTOUT --data-folder DIR   keep a printout as the next automatic download file",
                           runImport});

const Registrar reg({"convert",
                     "convert IN OUT [--to text|xml]   badge data file between text and XML; raw printout to text",
                     runConvert});

} // namespace
} // namespace sonvex::cli

// sonvex-cli span FILE --measurement N [--from hh:mm[:ss] --to hh:mm[:ss]] [--channel 1|2|peak]
// sonvex-cli leq FILE --measurement N -o OUT.leq

#include "CliCommand.h"
#include "CliData.h"

#include "data/DataSet.h"
#include "data/DisplayFormat.h"
#include "data/KVTimeHistory.h"
#include "data/SonvexDataModule.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <memory>

namespace sonvex::cli {

namespace {

QString tr(const char* s)
{
    return QCoreApplication::translate("cli", s);
}

struct Measurement
{
    Tdm dm;
    DataFilesController files{dm};
    DataSet* table = nullptr;
};

// Loads FILE and moves to the measurement whose "#" is N; a message on failure.
bool findMeasurement(Measurement& m, const QString& path, const QString& number, QString* why)
{
    const UserFormats formats = cliFormats();
    m.files.setUserFormats(formats);
    m.files.setPrintoutParser(printoutParser(formats));
    m.table = loadDataFile(path, m.dm, m.files, why);
    if (!m.table)
        return false;
    if (m.files.dataKind() != 1) {
        *why = tr("not a badge data file");
        return false;
    }
    bool ok = false;
    const int n = number.toInt(&ok);
    if (!ok || !m.table->locate(QStringLiteral("read_order"), n)) {
        *why = tr("no measurement with # %1").arg(number);
        return false;
    }
    return true;
}

std::unique_ptr<TKVTimeHistory> historyOf(DataSet& t, const QString& channel, const UserFormats& formats)
{
    const char* field = channel == u"2" ? "TimeHistoryCh2" : channel == u"peak" ? "TimeHistoryPeak" : "TimeHistoryCh1";
    const char* rate = channel == u"2" ? "settingsExchangeRate2" : "settingsExchangeRate";
    auto h = std::make_unique<TKVTimeHistory>(channel != u"2", true);
    h->setTimeFormats({formats.shortTime, formats.longTime});
    h->setExchangeRate(t.text(QLatin1String(rate)).trimmed().toInt());
    h->setData(t.text(QLatin1String(field)));
    return h;
}

int runSpan(const QStringList& args, Io& io)
{
    QCommandLineParser p;
    p.addPositionalArgument(QStringLiteral("file"), tr("badge data file"));
    p.addOption({QStringLiteral("measurement"), tr("the measurement's # number"), QStringLiteral("n")});
    p.addOption({QStringLiteral("from"), tr("cursor 1 as clock time"), QStringLiteral("hh:mm[:ss]")});
    p.addOption({QStringLiteral("to"), tr("cursor 2 as clock time"), QStringLiteral("hh:mm[:ss]")});
    p.addOption({QStringLiteral("channel"), tr("1, 2 or peak"), QStringLiteral("channel"), QStringLiteral("1")});
    const QString usage = tr("usage: sonvex-cli span FILE --measurement N [--from hh:mm[:ss] --to hh:mm[:ss]] "
                             "[--channel 1|2|peak]");
    if (!p.parse(QStringList{QStringLiteral("span")} + args) || p.positionalArguments().size() != 1 ||
        !p.isSet(QStringLiteral("measurement")) || p.isSet(QStringLiteral("from")) != p.isSet(QStringLiteral("to"))) {
        io.err << "sonvex-cli span: " << (p.errorText().isEmpty() ? tr("wrong arguments") : p.errorText()) << "\n"
               << usage << "\n";
        return Usage;
    }
    const QString channel = p.value(QStringLiteral("channel"));
    if (channel != u"1" && channel != u"2" && channel != u"peak") {
        io.err << "sonvex-cli span: " << tr("--channel must be 1, 2 or peak") << "\n";
        return Usage;
    }
    const QString path = p.positionalArguments().constFirst();
    Measurement m;
    QString why;
    if (!findMeasurement(m, path, p.value(QStringLiteral("measurement")), &why)) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(path) << ": " << why << "\n";
        return BadInput;
    }
    const UserFormats formats = m.files.userFormats();
    auto h = historyOf(*m.table, channel, formats);
    if (h->sampleCount() == 0) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(path) << ": "
               << tr("measurement %1 has no time history on channel %2").arg(p.value(QStringLiteral("measurement")), channel)
               << "\n";
        return BadInput;
    }
    TimeHistorySpan span;
    if (p.isSet(QStringLiteral("from"))) {
        double from = 0, to = 0;
        if (!h->chartTimeOfClock(p.value(QStringLiteral("from")), from) ||
            !h->chartTimeOfClock(p.value(QStringLiteral("to")), to)) {
            io.err << "sonvex-cli span: " << tr("--from and --to take a clock time hh:mm or hh:mm:ss") << "\n";
            return Usage;
        }
        span = h->spanFor(from, to);
    } else {
        span = h->spanForWholeRecording();
    }
    const auto trimmed = [](const QString& s) { return s.trimmed(); };
    io.out << tr("Measurement") << " " << m.table->text(QStringLiteral("read_order")) << " ("
           << m.table->text(QStringLiteral("badge")).trimmed() << "), " << tr("channel") << " " << channel << "\n";
    io.out << tr("Cursor 1") << "\t" << trimmed(span.cursorTexts.cursor1Time) << "\t"
           << trimmed(span.cursorTexts.cursor1Value) << "\n";
    io.out << tr("Cursor 2") << "\t" << trimmed(span.cursorTexts.cursor2Time) << "\t"
           << trimmed(span.cursorTexts.cursor2Value) << "\n";
    io.out << tr("Between cursors") << "\t" << trimmed(span.summaryTexts.durationBetween) << "\t"
           << trimmed(span.summaryTexts.levelBetween) << "\n";
    io.out << tr("Outside cursors") << "\t" << trimmed(span.summaryTexts.durationOutside) << "\t"
           << trimmed(span.summaryTexts.levelOutside) << "\n";
    io.out << tr("Highest between") << "\t\t" << DisplayFormat::fixed(span.highestBetween, 1, QLocale::c()) << "\n";
    return Ok;
}

int runLeq(const QStringList& args, Io& io)
{
    QCommandLineParser p;
    p.addPositionalArgument(QStringLiteral("file"), tr("badge data file"));
    p.addOption({QStringLiteral("measurement"), tr("the measurement's # number"), QStringLiteral("n")});
    p.addOption({{QStringLiteral("o"), QStringLiteral("output")}, tr("the .leq file to write"), QStringLiteral("out")});
    if (!p.parse(QStringList{QStringLiteral("leq")} + args) || p.positionalArguments().size() != 1 ||
        !p.isSet(QStringLiteral("measurement")) || !p.isSet(QStringLiteral("o"))) {
        io.err << "sonvex-cli leq: " << (p.errorText().isEmpty() ? tr("wrong arguments") : p.errorText()) << "\n"
               << tr("usage: sonvex-cli leq FILE --measurement N -o OUT.leq") << "\n";
        return Usage;
    }
    const QString path = p.positionalArguments().constFirst();
    Measurement m;
    QString why;
    if (!findMeasurement(m, path, p.value(QStringLiteral("measurement")), &why)) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(path) << ": " << why << "\n";
        return BadInput;
    }
    auto h = historyOf(*m.table, QStringLiteral("1"), m.files.userFormats());
    if (h->sampleCount() == 0) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(path) << ": "
               << tr("measurement %1 has no channel 1 time history").arg(p.value(QStringLiteral("measurement")))
               << "\n";
        return BadInput;
    }
    const QString out = p.value(QStringLiteral("o"));
    if (!h->exportLeqFile(out)) {
        io.err << "sonvex-cli: " << QDir::toNativeSeparators(out) << ": " << tr("the Leq file could not be written")
               << "\n";
        return Failure;
    }
    io.out << tr("%1 samples written to %2").arg(h->sampleCount()).arg(QDir::toNativeSeparators(out)) << "\n";
    return Ok;
}

const Registrar regSpan({"span",
                         "span FILE --measurement N [--from hh:mm[:ss] --to hh:mm[:ss]] [--channel 1|2|peak]   "
                         "levels and durations between and outside two cursors",
                         runSpan});
const Registrar regLeq({"leq", "leq FILE --measurement N -o OUT.leq   channel 1 time history as a Leq file", runLeq});

} // namespace
} // namespace sonvex::cli

// sonvex-reader-sim: the Reader simulator's command-line front end.
//   sonvex-reader-sim --print N [--seed S] [--model M] [--results R] [--channel2 C] [--period P] [--hours H]
// writes the printout of a simulated Reader holding N badge measurements to stdout.

#include "sim/SimReader.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace sonvex;

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "sonvex-reader-sim: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sonvex-reader-sim"));

    auto tr = [](const char* text) {
        return QCoreApplication::translate("sonvex-reader-sim", text);
    };

    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Reader simulator: prints simulated badge measurements in the Reader's "
           "printout format."));
    parser.addHelpOption();
    const QCommandLineOption printOption(QStringLiteral("print"),
                                         tr("Write a printout of <count> measurements."), tr("count"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), tr("Seed of the generated measurements."),
                                        tr("seed"), QStringLiteral("1"));
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         tr("Reader model: RM:40, RM:50A or RM:52A."), tr("model"),
                                         QStringLiteral("RM:50A"));
    const QCommandLineOption resultsOption(QStringLiteral("results"),
                                           tr("Printed results: q3, q5, datacheck or mixed."), tr("kind"),
                                           QStringLiteral("q3"));
    const QCommandLineOption channel2Option(QStringLiteral("channel2"),
                                            tr("Second channel: none, dual or thre (default: dual on RM:52A, "
                                               "none otherwise)."),
                                            tr("kind"));
    const QCommandLineOption periodOption(QStringLiteral("period"), tr("Sample period in seconds: 60 or 5."),
                                          tr("seconds"), QStringLiteral("60"));
    const QCommandLineOption hoursOption(QStringLiteral("hours"),
                                         tr("Measured hours per badge (at most 24)."), tr("hours"),
                                         QStringLiteral("8"));
    parser.addOptions(
        {printOption, seedOption, modelOption, resultsOption, channel2Option, periodOption, hoursOption});
    parser.process(app);

    if (!parser.isSet(printOption))
        return fail(tr("nothing to do: give --print <count>"));

    bool ok = false;
    const int count = parser.value(printOption).toInt(&ok);
    if (!ok || count < 0 || count > 999)
        return fail(tr("the count must be a whole number from 0 to 999"));
    const quint64 seed = parser.value(seedOption).toULongLong(&ok);
    if (!ok)
        return fail(tr("the seed must be a whole number"));

    SimReaderOptions options;
    const auto model = simModelFromName(parser.value(modelOption));
    if (!model)
        return fail(tr("unknown Reader model: %1").arg(parser.value(modelOption)));
    options.model = *model;

    const QString results = parser.value(resultsOption).toLower();
    if (results == QLatin1String("q3"))
        options.results = SimResultKind::Q3;
    else if (results == QLatin1String("q5"))
        options.results = SimResultKind::Q5;
    else if (results == QLatin1String("datacheck"))
        options.results = SimResultKind::DataCheck;
    else if (results == QLatin1String("mixed"))
        options.results = SimResultKind::Mixed;
    else
        return fail(tr("unknown result kind: %1").arg(results));

    if (parser.isSet(channel2Option)) {
        const QString c = parser.value(channel2Option).toLower();
        if (c == QLatin1String("none"))
            options.secondChannel = SimSecondChannel::None;
        else if (c == QLatin1String("dual"))
            options.secondChannel = SimSecondChannel::Dual;
        else if (c == QLatin1String("thre"))
            options.secondChannel = SimSecondChannel::Threshold;
        else
            return fail(tr("unknown second channel: %1").arg(c));
    }

    options.periodSeconds = parser.value(periodOption).toInt(&ok);
    if (!ok || (options.periodSeconds != 60 && options.periodSeconds != 5))
        return fail(tr("the period must be 60 or 5 seconds"));
    options.hours = parser.value(hoursOption).toDouble(&ok);
    if (!ok || options.hours <= 0 || options.hours > 24)
        return fail(tr("the hours must be more than 0 and at most 24"));

    const QStringList lines = writePrintout(generateReader(count, seed, options));
    for (const QString& line : lines) {
        const QByteArray bytes = line.toLatin1() + "\r\n";
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

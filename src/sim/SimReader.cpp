#include "sim/SimReader.h"

#include "sim/SimRandom.h"

#include <cmath>

namespace sonvex {

namespace {

SimChannelSettings settingsFor(int exchangeRate, bool slow)
{
    SimChannelSettings s;
    s.exchangeRate = exchangeRate;
    if (exchangeRate == 3) {
        s.criterionLevel = 85;
        s.threshold = 0;
    } else {
        s.criterionLevel = 90;
        s.threshold = 80;
    }
    s.response = slow ? u'S' : u'F';
    s.weighting = slow ? QStringLiteral("Slow") : QStringLiteral("None");
    return s;
}

int badgeExchangeRate(SimResultKind kind, int index)
{
    switch (kind) {
    case SimResultKind::Q3:
    case SimResultKind::DataCheck:
        return 3;
    case SimResultKind::Q5:
        return 5;
    case SimResultKind::Mixed:
        return index % 3 == 0 ? 3 : index % 3 == 1 ? 5 : 4;
    }
    return 3;
}

// ---- printing

class Printer
{
public:
    explicit Printer(const SimReader& reader) : m_reader(reader) {}

    QStringList print()
    {
        m_lines << QStringLiteral("Print-out of stored measurements");
        m_lines << simModelName(m_reader.model) + QStringLiteral(" ser. #") + m_reader.serial +
                       QStringLiteral(" Recal Due ") + date(m_reader.recalDue);
        m_lines << QString();
        for (const SimMeasurement& m : m_reader.badges)
            block(m);
        m_lines << QStringLiteral("End of print-out");
        return m_lines;
    }

private:
    bool old() const { return m_reader.model == SimReaderModel::RM40; }
    bool dualReader() const { return m_reader.model == SimReaderModel::RM52A; }

    // The older Reader writes one-digit days without a leading zero.
    QString date(const QDate& d) const
    {
        return QLocale::c().toString(d, old() ? QStringLiteral("d/MM/yy") : QStringLiteral("dd/MM/yy"));
    }
    QString dateTime(const QDateTime& dt) const
    {
        return QLocale::c().toString(dt.time(), QStringLiteral("HH:mm")) + u' ' + date(dt.date());
    }
    static QString fixed(double v, int decimals) { return QString::number(v, 'f', decimals); }
    static QString dose(double v) { return v >= 9999.95 ? QStringLiteral("++++++") : fixed(v, 1); }
    static QString exposure(double v) { return v >= 9999.995 ? QStringLiteral("++++++") : fixed(v, 2); }

    QString runTime(qint64 seconds) const
    {
        if (old())
            return fixed(double(seconds) / 3600.0, 1);
        const qint64 h = seconds / 3600, mi = seconds / 60 % 60, s = seconds % 60;
        auto two = [](qint64 v) {
            return QString::number(v).rightJustified(2, u'0');
        };
        const QString hours =
            (m_reader.model == SimReaderModel::RM52A && h < 10) ? QString::number(h) : two(h);
        return hours + u':' + two(mi) + u':' + two(s);
    }

    void add(const QString& key, const QString& value) { m_lines << key + QStringLiteral(": ") + value; }

    void energyResults(const SimChannelResults& r)
    {
        add(QStringLiteral("Dose"), dose(r.doseLeq) + QStringLiteral(" %"));
        add(QStringLiteral("Exp"), exposure(r.exposure) + QStringLiteral(" Pa2h"));
        add(QStringLiteral("Leq"), fixed(r.leq, 1) + QStringLiteral(" dB"));
        add(old() ? QStringLiteral("SEL") : QStringLiteral("LAE"), fixed(r.lae, 1) + QStringLiteral(" dB"));
        add(QStringLiteral("Est Dose"), dose(r.estDoseLeq) + QStringLiteral(" %"));
        add(QStringLiteral("Est Exp"), exposure(r.estExposure) + QStringLiteral(" Pa2h"));
        add(old() ? QStringLiteral("Lepd") : QStringLiteral("LEX,8h"),
            fixed(r.lex8h, 1) + QStringLiteral(" dB"));
    }

    void rateResults(const SimChannelResults& r)
    {
        // The older Reader prints its doses first and marks them with the rate.
        if (old()) {
            add(QStringLiteral("Dose"), dose(r.dose) + QStringLiteral(" % (Q=5)"));
            add(QStringLiteral("Est Dose"), dose(r.estDose) + QStringLiteral(" % (Q=5)"));
        }
        add(QStringLiteral("Lavg"), fixed(r.lavg, 1) + QStringLiteral(" dB"));
        add(QStringLiteral("TWA"), fixed(r.twa, 1) + QStringLiteral(" dB"));
        if (!old()) {
            add(QStringLiteral("Dose"), dose(r.dose) + QStringLiteral(" %"));
            add(QStringLiteral("Est Dose"), dose(r.estDose) + QStringLiteral(" %"));
        }
    }

    void channel2Results(const SimChannelResults& r)
    {
        if (dualReader()) {
            add(QStringLiteral("Dose 3"), dose(r.dose) + QStringLiteral(" %"));
            add(QStringLiteral("Lavg 3"), fixed(r.lavg, 1) + QStringLiteral(" dB"));
            add(QStringLiteral("TWA 3"), fixed(r.twa, 1) + QStringLiteral(" dB"));
            add(QStringLiteral("Est Dose 3"), dose(r.estDose) + QStringLiteral(" %"));
        } else {
            add(QStringLiteral("Dose 2"), dose(r.doseLeq) + QStringLiteral(" %"));
            add(QStringLiteral("Exp 2"), exposure(r.exposure) + QStringLiteral(" Pa2h"));
            add(QStringLiteral("Leq 2"), fixed(r.leq, 1) + QStringLiteral(" dB"));
            add(QStringLiteral("LAE 2"), fixed(r.lae, 1) + QStringLiteral(" dB"));
            add(QStringLiteral("Est Dose 2"), dose(r.estDoseLeq) + QStringLiteral(" %"));
            add(QStringLiteral("Est Exp 2"), exposure(r.estExposure) + QStringLiteral(" Pa2h"));
            add(QStringLiteral("LEX,8h 2"), fixed(r.lex8h, 1) + QStringLiteral(" dB"));
        }
    }

    static QString words(const SimMeasurement& m, quint16 SimLogEntry::*field)
    {
        QString s;
        s.reserve(m.log.size() * 4);
        for (const SimLogEntry& e : m.log)
            s.append(QString::number(e.*field, 16).toUpper().rightJustified(4, u'0'));
        return s;
    }

    void block(const SimMeasurement& m)
    {
        const SimBadgeSpec& spec = m.spec;
        const bool dataCheck = m_reader.results == SimResultKind::DataCheck;
        m_lines << u'#' + QString::number(spec.number).rightJustified(3, u'0') + QStringLiteral(": ") +
                       spec.modelWord + QStringLiteral(" #") + spec.serial + QStringLiteral(" Recal Due ") +
                       date(spec.recalDue);
        add(QStringLiteral("Badge Version"), spec.firmware);
        add(QStringLiteral("Settings"), spec.settings1.text());
        if (m.hasChannel2()) {
            if (m.coding.thresholdChannel2)
                m_lines << QStringLiteral("Settings3:");
            else
                add(QStringLiteral("Settings3"), spec.settings2->text());
        }
        if (spec.calibrated) {
            add(QStringLiteral("First Cal"),
                fixed(spec.firstCalOffset, 1) + QStringLiteral("dB ") + dateTime(m.firstCalTime));
            add(QStringLiteral("Last Cal"),
                fixed(spec.lastCalOffset, 1) + QStringLiteral("dB ") + dateTime(m.lastCalTime));
        } else {
            add(QStringLiteral("First Cal"), QStringLiteral("unit not calibrated"));
            add(QStringLiteral("Last Cal"), QStringLiteral("unit not calibrated"));
        }
        add(old() ? QStringLiteral("Reset Time") : QStringLiteral("Reset"), dateTime(m.resetTime));
        add(old() ? QStringLiteral("Read") : QStringLiteral("Measurement"), dateTime(m.shift.start));
        add(QStringLiteral("Run Time"), runTime(m.runSeconds));

        const bool energy = spec.settings1.exchangeRate == 3 && !dualReader();
        if (energy || dataCheck)
            energyResults(m.results1);
        if (!energy || dataCheck)
            rateResults(m.results1);
        if (m.hasChannel2())
            channel2Results(m.results2);

        // A badge that never started has logged nothing: no history lines.
        if (m.runSeconds > 0) {
            const QString period = QString::number(m.shift.periodSeconds);
            add(period + QStringLiteral(" Time History"), words(m, &SimLogEntry::word1));
            add(period + QStringLiteral(" Peak Data"), words(m, &SimLogEntry::peakWord));
            if (m.hasChannel2()) {
                add(period + (m.coding.thresholdChannel2 ? QStringLiteral(" Thre Data")
                                                         : QStringLiteral(" Dual Data")),
                    words(m, &SimLogEntry::word2));
            }
        }
        add(QStringLiteral("Peak"),
            m.peakEvent ? fixed(m.peakMax, 1) + QStringLiteral("dB C") : QStringLiteral("OK"));
        add(old() ? QStringLiteral("Overload") : QStringLiteral("O.L."),
            m.overload ? QStringLiteral("YES") : QStringLiteral("OK"));
        if (dataCheck)
            add(QStringLiteral("115dB LFMax"),
                QString::number(qint64(std::lround(m.lfMaxSeconds * 10)), 16).toUpper());
        add(old() ? QStringLiteral("Batt") : QStringLiteral("Battery"),
            m.lowBattery ? QStringLiteral("LOW") : QStringLiteral("OK"));
        if (dataCheck)
            add(QStringLiteral("Data Check"), QStringLiteral("OK"));
    }

    const SimReader& m_reader;
    QStringList m_lines;
};

} // namespace

QString simModelName(SimReaderModel model)
{
    switch (model) {
    case SimReaderModel::RM40:
        return QStringLiteral("RM:40");
    case SimReaderModel::RM50A:
        return QStringLiteral("RM:50A");
    case SimReaderModel::RM52A:
        return QStringLiteral("RM:52A");
    }
    return QString();
}

std::optional<SimReaderModel> simModelFromName(const QString& name)
{
    QString n = name.trimmed().toUpper();
    n.remove(u':');
    if (n.startsWith(QLatin1String("RM")))
        n = n.mid(2);
    if (n == QLatin1String("40"))
        return SimReaderModel::RM40;
    if (n == QLatin1String("50A") || n == QLatin1String("50"))
        return SimReaderModel::RM50A;
    if (n == QLatin1String("52A") || n == QLatin1String("52"))
        return SimReaderModel::RM52A;
    return std::nullopt;
}

SimReader generateReader(int badgeCount, quint64 seed, const SimReaderOptions& options)
{
    SimRandom rng(seed);
    SimReader reader;
    reader.model = options.model;
    reader.results = options.results;
    reader.secondChannel = options.secondChannel.value_or(
        options.model == SimReaderModel::RM52A ? SimSecondChannel::Dual : SimSecondChannel::None);
    reader.serial = QString::number(rng.between(1, 99999)).rightJustified(5, u'0');
    const QDateTime first = options.firstStart.isValid()
                                ? QDateTime(options.firstStart.date(), options.firstStart.time(), Qt::UTC)
                                : QDateTime(QDate(2009, 3, 12), QTime(6, 0), Qt::UTC);
    reader.recalDue = first.date().addDays(rng.between(60, 400));
    reader.firmware = options.model == SimReaderModel::RM40 ? QStringLiteral("1.07") : QStringLiteral("2.10");

    const bool newGeneration = options.model != SimReaderModel::RM40;
    for (int i = 0; i < badgeCount; ++i) {
        SimBadgeSpec spec;
        spec.number = i + 1;
        spec.serial = QString::number(10000 + rng.between(0, 89999));
        spec.modelWord = simModelName(options.model);
        spec.firmware = options.model == SimReaderModel::RM40    ? QStringLiteral("1.12")
                        : options.model == SimReaderModel::RM52A ? QStringLiteral("4.10")
                                                                 : QStringLiteral("3.02");
        const bool slow = options.results == SimResultKind::DataCheck || options.results == SimResultKind::Q5;
        spec.settings1 = settingsFor(badgeExchangeRate(options.results, i), slow);
        if (reader.secondChannel != SimSecondChannel::None)
            spec.settings2 = settingsFor(5, true);
        spec.calibrated = rng.chance(0.9);
        if (spec.calibrated) {
            spec.firstCalOffset = rng.between(-3, 3) / 10.0;
            spec.lastCalOffset = spec.firstCalOffset + rng.between(-2, 2) / 10.0;
        }
        spec.shift.periodSeconds = options.periodSeconds;
        spec.shift.hours = options.hours;
        spec.shift.pause = rng.chance(0.7);
        spec.shift.overload = rng.chance(0.35);
        // Badges of a campaign start on consecutive days, a few minutes apart.
        spec.shift.start = first.addDays(i / 20).addSecs(60 * rng.between(0, 120));
        spec.recalDue = spec.shift.start.date().addDays(rng.between(100, 365));

        SimBadgeCoding coding;
        coding.newGeneration = newGeneration;
        coding.dualReader = options.model == SimReaderModel::RM52A;
        coding.thresholdChannel2 = reader.secondChannel == SimSecondChannel::Threshold;
        reader.badges.append(generateMeasurement(rng.next(), spec, coding));
    }
    return reader;
}

QStringList writePrintout(const SimReader& reader)
{
    return Printer(reader).print();
}

} // namespace sonvex

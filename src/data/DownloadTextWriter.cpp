#include "data/DownloadTextWriter.h"

#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "data/MeasCalc.h"

#include <QDateTime>

#include <cmath>

namespace sonvex::DownloadTextWriter {

namespace {

const QStringList kHead = {"#", "Notes", "Cursor1Pos", "Cursor2Pos", "noxTag", "Badge Firmware", "Run Time"};
const QStringList kP = {"Dose %", "Exp. Pa2h", "Leq dBA", "LAE dBA", "Est.Dose %", "Est.Exp Pa2h", "Lepd dBA"};
const QStringList kQ5 = {"Lavg dBA(Q=5)", "TWA dBA(Q=5)", "Dose %(Q=5)", "Est.Dose %(Q=5)"};
const QStringList kM = {"Reset Time", "Meas.Time", "Peak", "Overload", "Battery", "Time Hist.", "1st Cal dB",
                        "1st Cal Time", "Last Cal dB", "Last Cal Time", "Recal Due", "Settings", "Settings Ch2",
                        "115dBA LFMax", "Data Check"};
const QStringList kD = {"2Dose %", "2Exp. Pa2h", "2Leq dBA", "2LAE dBA", "2Est.Dose %", "2Est.Exp Pa2h", "2Lepd dBA"};
const QStringList kD5 = {"2Lavg dBA(Q=5)", "2TWA dBA(Q=5)", "2Dose %(Q=5)", "2Est.Dose %(Q=5)"};
const QStringList kT = {"Dual", "DualTH", "THCh1", "THPeak", "THBatt", "THCh2"};

QString clean(QString s)
{
    s.replace(u'\t', u' ');
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

struct Rec
{
    const DataSet& t;
    int row;
    QVariant v(const char* f) const { return t.rowValue(row, QLatin1String(f)); }
    QString text(const char* f) const { return clean(v(f).toString()); }
    QString number(const char* f) const
    {
        const QVariant x = v(f);
        return x.isValid() ? DataPacket::formatFloat(x.toDouble()) : QString();
    }
    QString numberOrOverRange(const char* f) const
    {
        const QVariant x = v(f);
        if (x.isValid() && MeasCalc::isOverRange(x.toDouble()))
            return QStringLiteral("++++++");
        return number(f);
    }
    bool flag(const char* f) const { return v(f).toBool(); }
};

// A stored "date time" text as the download text writes it: "time date".
QString timeThenDate(const QString& dateTime)
{
    const QString s = dateTime.trimmed();
    if (s.isEmpty())
        return QString();
    const qsizetype blank = s.indexOf(u' ');
    if (blank < 0)
        return QStringLiteral("00:00:00 ") + s;
    return s.mid(blank + 1) + QLatin1Char(' ') + s.left(blank);
}

} // namespace

QStringList headerNames()
{
    return kHead + kP + kQ5 + kM + kD + kD5 + kT;
}

QStringList write(const DataSet& t, const UserFormats& uf)
{
    bool any52A = false;
    QString reader, readerRecal;
    for (int r = 0; r < t.recordCount(); ++r) {
        any52A = any52A || t.rowValue(r, QStringLiteral("is52AData")).toBool();
        if (reader.isEmpty()) {
            reader = t.rowValue(r, QStringLiteral("reader")).toString().trimmed();
            readerRecal = t.rowValue(r, QStringLiteral("ReaderRecal")).toString();
        }
    }
    // The exchange-rate columns of channel 2 mark every record that has them.
    QStringList header = kHead + kP + kQ5 + kM + kD;
    if (any52A)
        header += kD5;
    header += kT;

    QStringList out{QStringLiteral("noxTag measurements")};
    if (!reader.isEmpty()) {
        const QDateTime now = QDateTime::currentDateTime();
        out << QStringLiteral("Downloaded on %1 at %2 using reader RM:50A ser. #%3 (Recal.Due %4)")
                   .arg(uf.dateText(now.date()), now.toString(QStringLiteral("HH:mm")), reader, readerRecal);
    }
    out << QString() << header.join(u'\t');

    for (int row = 0; row < t.recordCount(); ++row) {
        const Rec r{t, row};
        QStringList items;
        const auto cursor = [&](const char* f) {
            const QVariant x = r.v(f);
            return x.isValid() ? uf.dateTimeText(x.toDateTime()) : QString();
        };
        items << r.text("read_order") << r.text("notes") << cursor("cursor1Time") << cursor("cursor2Time")
              << r.text("badge") << r.text("badgeFirmware") << r.text("RunTime");
        items << r.numberOrOverRange("dose") << r.number("exp") << r.number("leq") << r.number("sel")
              << r.numberOrOverRange("est_dose") << r.number("est_exp") << r.number("lepd");
        items << r.number("lavg") << r.number("twa") << r.numberOrOverRange("dose5")
              << r.numberOrOverRange("est_dose5");

        QString start;
        if (r.v("MeasDate").isValid())
            start = uf.timeText(r.v("MeasTimeTime").isValid() ? r.v("MeasTimeTime").toTime() : QTime(0, 0)) +
                    QLatin1Char(' ') + uf.dateText(r.v("MeasDate").toDate());
        else
            start = timeThenDate(r.text("MeasTime"));
        const QString wtg = r.text("peakWtg");
        QString peak;
        if (wtg == QLatin1String("dB(C)") || wtg == QLatin1String("dB(L)"))
            peak = r.number("peak_level") + (wtg == QLatin1String("dB(L)") ? QStringLiteral(" dB L")
                                                                             : QStringLiteral(" dB C")) +
                   (r.flag("peak") ? QString() : QStringLiteral(" ok"));
        else
            peak = r.flag("peak") ? QStringLiteral("exceeded") : QStringLiteral("ok");
        QString max115;
        if (r.flag("hasMK4Data")) {
            const QVariant secs = r.v("max115Time");
            if (secs.isValid() && secs.toDouble() > 0)
                max115 = QString::number(qint64(std::llround(secs.toDouble() * 10)), 16).toUpper();
            else if (secs.isValid() && !r.flag("max115Exceeded"))
                max115 = QStringLiteral("0");
            else
                max115 = r.flag("max115Exceeded") ? QStringLiteral("yes") : QStringLiteral("no");
        }
        items << timeThenDate(r.text("ResetTime")) << start << peak
              << (r.flag("overload") ? QStringLiteral("OVERLOAD") : QStringLiteral("ok"))
              << (r.flag("lowbatt") ? QStringLiteral("low") : QStringLiteral("ok"))
              << (r.flag("hasTimeHistory") ? QStringLiteral("yes") : QStringLiteral("no")) << r.number("cal1_offset")
              << timeThenDate(r.text("Cal1Time")) << r.number("cal2_offset") << timeThenDate(r.text("Cal2Time"))
              << r.text("BadgeRecal") << r.text("settings") << r.text("settings2") << max115 << r.text("dataCheck");
        items << r.numberOrOverRange("dose2") << r.numberOrOverRange("exp2") << r.number("leq2") << r.number("sel2")
              << r.numberOrOverRange("est_dose2") << r.numberOrOverRange("est_Exp2") << r.number("lepd2");
        if (any52A)
            items << r.numberOrOverRange("lavg2") << r.number("twa2") << r.numberOrOverRange("dose52")
                  << r.numberOrOverRange("est_dose52");
        items << (r.flag("hasDualData") ? QStringLiteral("yes") : QStringLiteral("no")) << QStringLiteral("no")
              << r.text("TimeHistoryCh1") << r.text("TimeHistoryPeak") << QString() << r.text("TimeHistoryCh2");
        // Trailing empty time histories are left off, as the parser does.
        while (items.size() > header.size() - 4 && items.last().isEmpty())
            items.removeLast();
        out << items.join(u'\t');
    }
    out << QStringLiteral("Date format: ") + DateTimeFormats::toFileDateFormat(uf.shortDate)
        << QStringLiteral("Time format: ") + DateTimeFormats::toFileTimeFormat(uf.shortTime);
    return out;
}

} // namespace sonvex::DownloadTextWriter

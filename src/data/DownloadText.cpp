#include "data/DownloadText.h"

#include "data/DataSet.h"
#include "data/MeasCalc.h"

#include <QHash>
#include <QLocale>

#include <cmath>

namespace sonvex::DownloadText {

namespace {

enum Rule {
    None = 0,
    Leq2, Dose2, Exp2, Sel2, EstDose2, EstExp2, Lepd2, Dose52, Lavg2, Twa2, EstDose52,   // 1-11
    BadgeFirmware, THCh1, THPeak, THCh2,                                                // 12-15
    ReadOrder, Notes, Cursor1, Cursor2, Badge, RunTime,                                 // 16-21
    Exp, Leq, Sel, EstExp, Lepd, Lavg, Twa, Dose5, Dose, EstDose5, EstDose,             // 22-32
    Dual, ResetTime, MeasTime, Peak, Overload, Battery, TimeHist, RecalDue,             // 33-40
    Settings, Settings2, Cal1Db, Cal2Db, Cal1Time, Cal2Time, Max115, DataCheck,         // 41-48
};

Rule ruleFor(const QString& n)
{
    const auto is = [&n](const char* s) { return n == QLatin1String(s); };
    const auto begins = [&n](const char* s) { return n.startsWith(QLatin1String(s)); };
    const auto has = [&n](const char* s) { return n.contains(QLatin1String(s)); };
    if (begins("2Leq dBA")) return Leq2;
    if (is("2Dose %")) return Dose2;
    if (begins("2Exp. Pa2h")) return Exp2;
    if (begins("2LAE dBA")) return Sel2;
    if (is("2Est.Dose %")) return EstDose2;
    if (begins("2Est.Exp Pa2h")) return EstExp2;
    if (begins("2Lepd dBA")) return Lepd2;
    if (is("2Dose %(Q=5)")) return Dose52;
    if (begins("2Lavg dBA(Q=5)")) return Lavg2;
    if (begins("2TWA dBA(Q=5)")) return Twa2;
    if (is("2Est.Dose %(Q=5)")) return EstDose52;
    if (n.startsWith(u'2')) return None; // channel 2 names match nothing else
    if (is("Badge Firmware")) return BadgeFirmware;
    if (is("THCh1")) return THCh1;
    if (is("THPeak")) return THPeak;
    if (is("THCh2")) return THCh2;
    if (has("#")) return ReadOrder;
    if (has("Notes")) return Notes;
    if (has("Cursor1Pos")) return Cursor1;
    if (has("Cursor2Pos")) return Cursor2;
    if (has("noxTag")) return Badge;
    if (has("Run Time")) return RunTime;
    if (begins("Exp. Pa2h")) return Exp;
    if (begins("Leq dBA")) return Leq;
    if (begins("LAE dBA")) return Sel;
    if (begins("Est.Exp Pa2h")) return EstExp;
    if (begins("Lepd dBA")) return Lepd;
    if (begins("Lavg dBA(Q=5)")) return Lavg;
    if (begins("TWA dBA(Q=5)")) return Twa;
    if (begins("Dose %(Q=5)")) return Dose5;
    if (begins("Dose %")) return Dose;
    if (begins("Est.Dose %(Q=5)")) return EstDose5;
    if (begins("Est.Dose %")) return EstDose;
    if (is("Dual")) return Dual;
    if (has("Reset Time")) return ResetTime;
    if (has("Meas.Time")) return MeasTime;
    if (has("Peak")) return Peak;
    if (has("Overload")) return Overload;
    if (has("Battery")) return Battery;
    if (has("Time Hist.")) return TimeHist;
    if (has("Recal Due")) return RecalDue;
    if (is("Settings")) return Settings;
    if (is("Settings Ch2")) return Settings2;
    if (has("1st Cal dB")) return Cal1Db;
    if (has("Last Cal dB")) return Cal2Db;
    if (has("1st Cal Time")) return Cal1Time;
    if (has("Last Cal Time")) return Cal2Time;
    if (has("115dBA LFMax")) return Max115;
    if (has("Data Check")) return DataCheck;
    return None;
}

std::optional<double> number(const QString& s)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(s.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool isOverRangeText(const QString& s)
{
    const QString t = s.trimmed();
    if (t.size() < 2)
        return false;
    for (QChar c : t)
        if (c != u'+')
            return false;
    return true;
}

std::optional<double> numberOrOverRange(const QString& s)
{
    if (isOverRangeText(s))
        return MeasCalc::kOverRange;
    return number(s);
}

bool containsOk(const QString& s)
{
    return s.contains(QLatin1String("ok"), Qt::CaseInsensitive) ||
           s.contains(QLatin1String("o.k"), Qt::CaseInsensitive);
}

// The Korean morning and afternoon designators, as UTF-8 text and as their
// code page 949 bytes read as Windows-1252.
QString replaceKoreanDesignators(QString t)
{
    static const QString amKo = QString::fromUtf8("\xec\x98\xa4\xec\xa0\x84");
    static const QString pmKo = QString::fromUtf8("\xec\x98\xa4\xed\x9b\x84");
    static const QString am949 = QString::fromUtf8("\xc2\xbf\xc3\x80\xc3\x80\xc3\xbc");
    static const QString pm949 = QString::fromUtf8("\xc2\xbf\xc3\x80\xc3\x88\xc3\x84");
    for (const QString& am : {amKo, am949}) {
        const qsizetype p = t.indexOf(am);
        if (p >= 0) {
            t.replace(p, am.size(), QStringLiteral("AM"));
            break;
        }
    }
    for (const QString& pm : {pmKo, pm949}) {
        const qsizetype p = t.indexOf(pm);
        if (p >= 0) {
            t.replace(p, pm.size(), QStringLiteral("PM"));
            break;
        }
    }
    return t;
}

// Splits a date-time value at its last blank: time before, date after.
void splitAtLastBlank(const QString& v, QString* timePart, QString* datePart)
{
    const qsizetype p = v.lastIndexOf(u' ');
    *timePart = p < 0 ? QString() : v.left(p);
    *datePart = p < 0 ? v : v.mid(p + 1);
}

struct Reader
{
    const DownloadTextContext& ctx;
    QString dateFormat;
    QString timeFormat;

    QDate parseDate(const QString& s) const { return ParseDate(s, dateFormat, ctx.user, ctx.today); }
    std::optional<QTime> time(const QString& s) const { return DateTimeFormats::readTime(s, ctx.user); }
    // "Reset Time", "1st Cal Time", "Last Cal Time".
    std::optional<QDateTime> dateTimeColumn(const QString& v, bool dashRule) const
    {
        QString tp, dp;
        splitAtLastBlank(v, &tp, &dp);
        // A date that reads as day 0 counts as a failure too, so that the
        // calibration dates written with dashes get their second chance.
        const QDate d = parseDate(dp);
        const bool dateRead = d != DateTimeFormats::dayZero() || !dashRule;
        if (auto t = time(tp); t && dateRead)
            return QDateTime(d, *t, Qt::UTC);
        tp = replaceKoreanDesignators(tp);
        if (dashRule)
            dp.replace(u'-', ctx.user.dateSeparator);
        if (auto t = time(tp))
            return QDateTime(parseDate(dp), *t, Qt::UTC);
        return std::nullopt;
    }
};

struct Columns
{
    QHash<QString, int> pos; // stored field name -> position in a stored row
    int operator[](const char* name) const { return pos.value(QLatin1String(name), -1); }
};

} // namespace

bool isDateFormatLine(const QString& line)
{
    return line.trimmed().startsWith(QLatin1String("date format"), Qt::CaseInsensitive);
}

bool isTimeFormatLine(const QString& line)
{
    return line.trimmed().startsWith(QLatin1String("time format"), Qt::CaseInsensitive);
}

bool isFormatErrorLine(const QString& line)
{
    return line.trimmed().startsWith(QLatin1String("file format error"), Qt::CaseInsensitive);
}

QStringList splitLines(const QString& text)
{
    QStringList out;
    const QChar* p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        out.append(QString(p + start, i - start));
        if (c == u'\r' && i + 1 < n && p[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        out.append(QString(p + start, n - start));
    return out;
}

QString ReaderIdFromLine(const QString& line)
{
    static const QStringList expectedIds = {QStringLiteral("4-R")};
    qsizetype p = -1;
    const QString lower = line.toLower();
    for (const QString& id : expectedIds) {
        const qsizetype at = lower.indexOf(id.toLower());
        if (at >= 0)
            p = at;
    }
    if (p < 0) {
        p = line.indexOf(QLatin1String("RM:50"));
        if (p < 0)
            p = line.indexOf(QLatin1String("RM:52"));
        if (p < 0)
            p = line.indexOf(QLatin1String("6-R"));
    }
    // The identification follows the model name and its blank ("RM:50A ser. #01234 ").
    if (p < 0)
        return QString();
    QString r = line.mid(p + 7).trimmed() + QLatin1Char(' ');
    if (r.contains(QLatin1String("ser. #")))
        r = r.mid(6);
    return r.left(r.indexOf(u' ') + 1);
}

QString RecalDueFromLine(const QString& line, const QString& dayZeroText)
{
    const qsizetype p = line.toLower().indexOf(QLatin1String("recal.due"));
    if (p < 0)
        return dayZeroText;
    const QString r = line.mid(p + 9).trimmed() + QLatin1Char(')');
    return r.left(r.indexOf(u')'));
}

QDate ParseDate(const QString& text, const QString& dateFormat, const UserFormats& user, const QDate& today)
{
    QString t = text.trimmed();
    const QChar sep = user.dateSeparator;
    qsizetype i = 0;
    while (i < t.size() && (t.at(i).isDigit() || t.at(i) == sep))
        ++i;
    if (i < t.size()) {
        qsizetype end = t.indexOf(sep, i);
        const QString token = end < 0 ? t.mid(i) : t.mid(i, end - i);
        const QStringList& names = token.size() == 3 ? user.shortMonths : user.longMonths;
        int m = 0;
        for (int k = 0; k < names.size() && m == 0; ++k) {
            QString name = names.at(k);
            if (token.size() == 3) {
                // Short names of some languages carry a dot ("Okt.") or are longer
                // than three letters ("März"): their first three letters count too.
                name.remove(u'.');
                if (token.compare(name, Qt::CaseInsensitive) == 0 ||
                    token.compare(user.longMonths.value(k).left(3), Qt::CaseInsensitive) == 0)
                    m = k + 1;
            } else if (token.compare(name, Qt::CaseInsensitive) == 0) {
                m = k + 1;
            }
        }
        if (m == 0)
            m = 1;
        // A month name at the end of the date simply ends the rebuilt text.
        t = t.left(i) + QString::number(m) + (end < 0 ? QString() : t.mid(end));
    }
    const auto d = DateTimeFormats::readDate(t, dateFormat, sep, today);
    return d ? *d : DateTimeFormats::dayZero();
}

DownloadTextResult LoadDownloadText(QStringList& lines, DataSet& meas, const DownloadTextContext& ctx)
{
    DownloadTextResult res;
    Reader rd{ctx, ctx.user.shortDate, ctx.user.shortTime};

    // Format lines, walked from the last to the first so that the topmost wins.
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QString& l = lines.at(i);
        if (isDateFormatLine(l)) {
            rd.dateFormat = DateTimeFormats::toQtDateFormat(l.mid(12).trimmed());
            lines.removeAt(i);
        } else if (isTimeFormatLine(l)) {
            rd.timeFormat = DateTimeFormats::toQtTimeFormat(l.mid(12).trimmed());
            lines.removeAt(i);
        } else if (isFormatErrorLine(l)) {
            lines.removeAt(i);
        }
    }
    res.dateFormat = rd.dateFormat;
    res.timeFormat = rd.timeFormat;

    // Header search; the lines before it (and the header) name the reader.
    const QString dayZeroText = ctx.user.locale.toString(DateTimeFormats::dayZero(), rd.dateFormat);
    res.readerRecal = dayZeroText;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& l = lines.at(i);
        if (l.contains(QLatin1String("reader"), Qt::CaseInsensitive))
            res.readerId = ReaderIdFromLine(l);
        if (l.contains(QLatin1String("recal.due"), Qt::CaseInsensitive))
            res.readerRecal = RecalDueFromLine(l, dayZeroText);
        if (l.startsWith(QLatin1String("#\t"))) {
            res.headerFound = true;
            res.headerIndex = i;
            res.headerNames = l.split(u'\t');
            break;
        }
    }

    meas.disableControls();
    struct Restore
    {
        DataSet& ds;
        ~Restore() { ds.enableControls(); }
    } restore{meas};

    if (!res.headerFound) {
        meas.replaceContents(nullptr, {});
        return res;
    }

    Columns col;
    {
        const QVector<int> stored = meas.storedFieldIndexes();
        for (int k = 0; k < stored.size(); ++k)
            col.pos.insert(meas.field(stored.at(k)).name, k);
    }
    const int nStored = col.pos.size();
    QVector<Rule> rules;
    for (const QString& n : std::as_const(res.headerNames))
        rules.append(ruleFor(n));

    const UserFormats& uf = ctx.user;
    const QString readerRecalDefault = res.readerRecal;
    QVector<Row> rows;
    const int total = int(lines.size());
    for (int li = res.headerIndex + 1; li < total; ++li) {
        const QString& line = lines.at(li);
        if (ctx.progress && (li % 50) == 0)
            ctx.progress(li, total);
        if (line.isEmpty())
            continue;
        Row r(nStored);
        const auto set = [&r, &col](const char* field, const QVariant& v) {
            const int p = col[field];
            if (p >= 0)
                r[p] = v;
        };
        const auto get = [&r, &col](const char* field) {
            const int p = col[field];
            return p >= 0 ? r.at(p) : QVariant();
        };
        set("reader", res.readerId);
        set("ReaderRecal", readerRecalDefault);
        set("peak_level", 140.0);
        set("peakWtg", QStringLiteral("dB"));
        set("hasMK4Data", false);
        set("hasDualData", false);
        set("is52AData", false);
        set("settings2", QStringLiteral("80: 28800: 00: F: 3dB (Q=3) None"));

        bool tenths = false;
        const QStringList items = line.split(u'\t');
        const auto setNumber = [&](const char* field, const std::optional<double>& v) {
            set(field, v ? QVariant(*v) : QVariant());
        };
        const auto setLevel = [&](const char* field, const QString& v, bool mayFlag) {
            auto n = number(v);
            if (n && mayFlag && *n > 200)
                tenths = true;
            if (n && tenths)
                *n /= 10.0;
            setNumber(field, n);
        };
        const auto setDateTimeColumn = [&](const char* field, const QString& v, bool dashRule) {
            const auto dt = rd.dateTimeColumn(v, dashRule);
            set(field, dt ? QVariant(uf.dateTimeText(*dt)) : QVariant());
        };
        const int n = std::min<int>(items.size(), rules.size());
        for (int k = 0; k < n; ++k) {
            const QString& v = items.at(k);
            switch (rules.at(k)) {
            case None:
                break;
            case Leq2: setNumber("leq2", number(v)); break;
            case Dose2: setNumber("dose2", numberOrOverRange(v)); break;
            case Exp2: setNumber("exp2", numberOrOverRange(v)); break;
            case Sel2: setNumber("sel2", number(v)); break;
            case EstDose2: setNumber("est_dose2", numberOrOverRange(v)); break;
            case EstExp2: setNumber("est_Exp2", numberOrOverRange(v)); break;
            case Lepd2: setNumber("lepd2", number(v)); break;
            case Dose52: setNumber("dose52", numberOrOverRange(v)); set("is52AData", true); break;
            case Lavg2: setNumber("lavg2", numberOrOverRange(v)); set("is52AData", true); break;
            case Twa2: setNumber("twa2", number(v)); set("is52AData", true); break;
            case EstDose52: setNumber("est_dose52", numberOrOverRange(v)); set("is52AData", true); break;
            case BadgeFirmware: set("badgeFirmware", v); break;
            case THCh1: set("TimeHistoryCh1", v); break;
            case THPeak: set("TimeHistoryPeak", v); break;
            case THCh2: set("TimeHistoryCh2", v); break;
            case ReadOrder: {
                bool ok = false;
                const int ro = v.trimmed().toInt(&ok);
                set("read_order", ok ? ro : 0);
                break;
            }
            case Notes: set("notes", v); break;
            case Cursor1:
            case Cursor2: {
                const auto dt = DateTimeFormats::readDateTime(v, rd.dateFormat, uf, ctx.today);
                set(rules.at(k) == Cursor1 ? "cursor1Time" : "cursor2Time", dt ? QVariant(*dt) : QVariant());
                break;
            }
            case Badge: set("badge", v); break;
            case RunTime:
                set("RunTime", v);
                if (v == QLatin1String("00:00:00") || v.isEmpty()) {
                    set("MeasDate", QVariant());
                    set("MeasTimeTime", QVariant());
                }
                break;
            case Exp:
            case EstExp: {
                const auto x = isOverRangeText(v) ? std::nullopt : number(v);
                setNumber(rules.at(k) == Exp ? "exp" : "est_exp", x);
                break;
            }
            case Leq: setLevel("leq", v, true); break;
            case Sel: setLevel("sel", v, false); break;
            case Lepd: setLevel("lepd", v, false); break;
            case Lavg: setLevel("lavg", v, true); break;
            case Twa: setLevel("twa", v, false); break;
            case Dose5: setNumber("dose5", numberOrOverRange(v)); break;
            case Dose: setNumber("dose", numberOrOverRange(v)); break;
            case EstDose5: setNumber("est_dose5", numberOrOverRange(v)); break;
            case EstDose: setNumber("est_dose", numberOrOverRange(v)); break;
            case Dual:
                if (v == QLatin1String("yes"))
                    set("hasDualData", true);
                break;
            case ResetTime: setDateTimeColumn("ResetTime", v, false); break;
            case Cal1Time: setDateTimeColumn("Cal1Time", v, true); break;
            case Cal2Time: setDateTimeColumn("Cal2Time", v, true); break;
            case MeasTime: {
                if (get("RunTime").toString() == QLatin1String("00:00:00")) {
                    set("peak_level", 0.0);
                    break;
                }
                set("MeasTime", v);
                QString tp, dp;
                splitAtLastBlank(v, &tp, &dp);
                const QDate d = rd.parseDate(dp);
                auto t = rd.time(tp);
                if (!t)
                    t = rd.time(replaceKoreanDesignators(tp));
                set("MeasDate", d);
                set("MeasTimeTime", t ? *t : QTime(0, 0));
                set("MeasTime", t ? QVariant(uf.dateTimeText(QDateTime(d, *t, Qt::UTC))) : QVariant(QString()));
                break;
            }
            case Peak: {
                set("peak", !containsOk(v));
                const qsizetype db = v.indexOf(QLatin1String("db"), 0, Qt::CaseInsensitive);
                if (db >= 0) {
                    const QString lower = v.toLower();
                    set("peakWtg", lower.contains(u'l') || lower.contains(u'f') ? QStringLiteral("dB(L)")
                                                                                : QStringLiteral("dB(C)"));
                    auto p = number(v.left(db));
                    if (p && tenths)
                        *p /= 10.0;
                    set("peak_level", p ? *p : 140.0);
                }
                break;
            }
            case Overload: set("overload", !containsOk(v)); break;
            case Battery: set("lowbatt", !containsOk(v)); break;
            case TimeHist: set("hasTimeHistory", !v.contains(u'n', Qt::CaseInsensitive)); break;
            case RecalDue: {
                QString tp, dp;
                splitAtLastBlank(v, &tp, &dp);
                set("BadgeRecal", uf.dateText(rd.parseDate(dp)));
                break;
            }
            case Settings: set("settings", v); break;
            case Settings2: set("settings2", v); break;
            case Cal1Db: setNumber("cal1_offset", number(v)); break;
            case Cal2Db: setNumber("cal2_offset", number(v)); break;
            case Max115: {
                if (!v.isEmpty())
                    set("hasMK4Data", true);
                const QString lower = v.toLower();
                if (lower == QLatin1String("yes")) {
                    set("max115Exceeded", true);
                } else if (lower == QLatin1String("no")) {
                    set("max115Exceeded", false);
                } else {
                    bool ok = false;
                    const qint64 hex = v.trimmed().toLongLong(&ok, 16);
                    const double secs = ok ? double(hex) / 10.0 : 0.0;
                    set("max115Time", secs);
                    set("max115Exceeded", secs > 0);
                }
                break;
            }
            case DataCheck: set("dataCheck", v); break;
            }
        }
        // Items beyond the header's names: the three time histories.
        for (int k = int(rules.size()), j = 0; k < items.size() && j < 3; ++k, ++j)
            set(j == 0 ? "TimeHistoryCh1" : j == 1 ? "TimeHistoryPeak" : "TimeHistoryCh2", items.at(k));
        if (ctx.validate) {
            const QString details =
                ctx.validate(li - res.headerIndex - 1, line, lines.at(res.headerIndex));
            if (!details.isEmpty())
                set("ValidationFailureDetails", details);
        }
        rows.append(std::move(r));
    }
    res.records = int(rows.size());
    meas.replaceContents(nullptr, std::move(rows));
    if (ctx.progress)
        ctx.progress(total, total);
    return res;
}

} // namespace sonvex::DownloadText

#include "instruments/KVTReaderPrintout.h"

#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <vector>

namespace sonvex {

namespace {

// ---------------------------------------------------------------- columns

enum Col : int
{
    ColNum,
    ColNotes,
    ColCursor1,
    ColCursor2,
    ColBadge,
    ColFirmware,
    ColRunTime,
    // energy results, channel 1
    ColDose,
    ColExp,
    ColLeq,
    ColLae,
    ColEstDose,
    ColEstExp,
    ColLepd,
    // exchange-rate results, channel 1
    ColLavg,
    ColTwa,
    ColDose5,
    ColEstDose5,
    // middle
    ColResetTime,
    ColMeasTime,
    ColPeak,
    ColOverload,
    ColBattery,
    ColTimeHist,
    ColCal1Db,
    ColCal1Time,
    ColCal2Db,
    ColCal2Time,
    ColRecalDue,
    ColSettings,
    ColSettings2,
    ColLfMax,
    ColDataCheck,
    // energy results, channel 2
    Col2Dose,
    Col2Exp,
    Col2Leq,
    Col2Lae,
    Col2EstDose,
    Col2EstExp,
    Col2Lepd,
    // exchange-rate results, channel 2
    Col2Lavg,
    Col2Twa,
    Col2Dose5,
    Col2EstDose5,
    // tail
    ColDual,
    ColDualTh,
    ColThCh1,
    ColThPeak,
    ColThBatt,
    ColThCh2,
    ColCount
};

constexpr std::array<const char*, ColCount> kColumnNames = {
    "#",
    "Notes",
    "Cursor1Pos",
    "Cursor2Pos",
    "noxTag",
    "Badge Firmware",
    "Run Time",
    "Dose %",
    "Exp. Pa2h",
    "Leq dBA",
    "LAE dBA",
    "Est.Dose %",
    "Est.Exp Pa2h",
    "Lepd dBA",
    "Lavg dBA(Q=5)",
    "TWA dBA(Q=5)",
    "Dose %(Q=5)",
    "Est.Dose %(Q=5)",
    "Reset Time",
    "Meas.Time",
    "Peak",
    "Overload",
    "Battery",
    "Time Hist.",
    "1st Cal dB",
    "1st Cal Time",
    "Last Cal dB",
    "Last Cal Time",
    "Recal Due",
    "Settings",
    "Settings Ch2",
    "115dBA LFMax",
    "Data Check",
    "2Dose %",
    "2Exp. Pa2h",
    "2Leq dBA",
    "2LAE dBA",
    "2Est.Dose %",
    "2Est.Exp Pa2h",
    "2Lepd dBA",
    "2Lavg dBA(Q=5)",
    "2TWA dBA(Q=5)",
    "2Dose %(Q=5)",
    "2Est.Dose %(Q=5)",
    "Dual",
    "DualTH",
    "THCh1",
    "THPeak",
    "THBatt",
    "THCh2",
};

QVector<Col> range(Col first, Col last)
{
    QVector<Col> cols;
    for (int c = first; c <= last; ++c)
        cols.append(static_cast<Col>(c));
    return cols;
}

QVector<Col> layoutColumns(PrintoutLayout layout)
{
    const QVector<Col> head = range(ColNum, ColRunTime);
    const QVector<Col> energy1 = range(ColDose, ColLepd);
    const QVector<Col> rate1 = range(ColLavg, ColEstDose5);
    const QVector<Col> middle = range(ColResetTime, ColDataCheck);
    const QVector<Col> energy2 = range(Col2Dose, Col2Lepd);
    const QVector<Col> rate2 = range(Col2Lavg, Col2EstDose5);
    const QVector<Col> tail = range(ColDual, ColThCh2);

    QVector<Col> cols = head;
    switch (layout) {
    case PrintoutLayout::Plain:
        cols << energy1 << middle << energy2;
        break;
    case PrintoutLayout::Q5:
        cols << rate1 << middle << energy2;
        break;
    case PrintoutLayout::Both:
        cols << energy1 << rate1 << middle << energy2;
        break;
    case PrintoutLayout::Dual:
        cols << rate1 << middle << rate2;
        break;
    case PrintoutLayout::DualBoth:
        cols << energy1 << rate1 << middle << energy2 << rate2;
        break;
    }
    cols << tail;
    return cols;
}

// ---------------------------------------------------------------- small text helpers

const QString kFormatError = QStringLiteral("file format error");
const QString kUnreadable = QStringLiteral("-?-");
const QString kNoDate = QStringLiteral("----");
const QString kDefaultSettingsCh2 = QStringLiteral("85: 28800: 00: F: 3dB (Q=3) None");
const QDate kDayZero(1899, 12, 30);

// Digits only; false for an empty text or any other character.
bool strictUInt(QStringView text, int& value)
{
    if (text.isEmpty() || text.size() > 9)
        return false;
    int v = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c.unicode() - u'0');
    }
    value = v;
    return true;
}

// A whole number, 0 when the text is not one.
int lenientInt(QStringView text)
{
    int v = 0;
    return strictUInt(text, v) ? v : 0;
}

// The value's text before its first blank; empty when it has no blank.
QString firstWord(const QString& value)
{
    const qsizetype blank = value.indexOf(u' ');
    return blank < 0 ? QString() : value.left(blank).trimmed();
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// The 4-character hexadecimal word at index i of a sample text.
bool wordAt(const QString& text, qsizetype i, quint16& word)
{
    const QChar* p = text.constData() + 4 * i;
    int v = 0;
    for (int k = 0; k < 4; ++k) {
        const int d = hexDigit(p[k]);
        if (d < 0)
            return false;
        v = (v << 4) | d;
    }
    word = static_cast<quint16>(v);
    return true;
}

// Whole 4-character words of a sample text; a trailing fragment is not a word.
qsizetype wordCount(const QString& text)
{
    return text.size() / 4;
}

// The one-decimal texts of the values of one coding, computed once per word:
// a printout repeats the same few thousand words many times.
class ValueTexts
{
public:
    // Forgets the texts unless the coding is the same as before.
    void use(std::size_t size, double a, double b, int c, bool d)
    {
        if (m_texts.size() == size && a == m_a && b == m_b && c == m_c && d == m_d)
            return;
        m_texts.assign(size, Text{});
        m_a = a;
        m_b = b;
        m_c = c;
        m_d = d;
    }

    template <typename Compute> void append(QString& out, std::size_t index, Compute compute)
    {
        Text& t = m_texts[index];
        if (t.length == 0) {
            const auto res =
                std::to_chars(t.chars, t.chars + sizeof t.chars, compute(), std::chars_format::fixed, 1);
            t.length = res.ec == std::errc() ? quint8(res.ptr - t.chars) : 0;
            if (t.length == 0)
                return;
        }
        out.append(QLatin1String(t.chars, t.length));
    }

private:
    struct Text
    {
        char chars[31];
        quint8 length = 0;
    };
    std::vector<Text> m_texts;
    double m_a = 0, m_b = 0;
    int m_c = 0;
    bool m_d = false;
};

void appendTwoDigits(QString& out, int v)
{
    if (v < 0 || v > 99)
        v = 0;
    out.append(QChar(u'0' + v / 10));
    out.append(QChar(u'0' + v % 10));
}

// Hour and minute of a marker word: its low 15 bits as four hexadecimal
// digits, each pair read as a decimal number (0 when a pair is not decimal).
int markerKey(quint16 word)
{
    const int d1 = (word >> 12) & 0x7, d2 = (word >> 8) & 0xF, d3 = (word >> 4) & 0xF, d4 = word & 0xF;
    const int hour = (d1 <= 9 && d2 <= 9) ? d1 * 10 + d2 : 0;
    const int minute = (d3 <= 9 && d4 <= 9) ? d3 * 10 + d4 : 0;
    return hour * 100 + minute;
}

void appendMarkerItem(QString& out, int key)
{
    out.append(QLatin1String("time:h"));
    appendTwoDigits(out, key / 100);
    out.append(u'n');
    appendTwoDigits(out, key % 100);
    out.append(u' ');
}

// Writes marker items, leaving out one equal to the string's first marker.
class MarkerFilter
{
public:
    void append(QString& out, int key)
    {
        if (m_first < 0)
            m_first = key;
        else if (key == m_first)
            return;
        appendMarkerItem(out, key);
    }

private:
    int m_first = -1;
};

// ---------------------------------------------------------------- the parser

struct Flags
{
    bool q3 = false;
    bool q5 = false;
    bool dataCheck = false;
    bool dual = false;
};

Flags printoutFlags(const QStringList& lines)
{
    Flags f;
    bool slowQ3 = false;
    for (const QString& line : lines) {
        // Quick exact pre-checks keep the case-blind searches off the long
        // sample lines: every text searched for holds "(" or " c"/" C".
        if (line.contains(u'(')) {
            if (!f.q3 && line.contains(QLatin1String("(q=3"), Qt::CaseInsensitive))
                f.q3 = true;
            if (!f.q5 && (line.contains(QLatin1String("(q=5"), Qt::CaseInsensitive) ||
                          line.contains(QLatin1String("(q=4"), Qt::CaseInsensitive)))
                f.q5 = true;
            if (!slowQ3 && line.contains(QLatin1String("(q=3) slow"), Qt::CaseInsensitive))
                slowQ3 = true;
        }
        if (!f.dataCheck && (line.contains(QLatin1String(" c")) || line.contains(QLatin1String(" C"))) &&
            line.contains(QLatin1String("data check"), Qt::CaseInsensitive))
            f.dataCheck = true;
    }
    if (f.dataCheck && slowQ3)
        f.q5 = true;
    return f;
}

bool isReaderLine(const QString& line)
{
    static const char* const ids[] = {"RM:40", "RM:50", "RM:52", "OEM-715", "4-R", "6-R"};
    for (const char* id : ids) {
        if (line.contains(QLatin1String(id)))
            return true;
    }
    return false;
}

class Parser
{
public:
    Parser(const QStringList& lines, const PrintoutContext& context) : m_lines(lines), m_ctx(context) {}

    QStringList run()
    {
        QStringList out;
        out << QStringLiteral("noxTag measurements");
        try {
            parse(out);
        } catch (const std::exception&) {
            out << kFormatError;
        } catch (...) {
            out << kFormatError;
        }
        return out;
    }

private:
    void parse(QStringList& out)
    {
        m_flags = printoutFlags(m_lines);

        qsizetype readerIndex = -1;
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            if (m_lines.at(i).contains(QLatin1String("RM:52")))
                m_flags.dual = true;
            if (isReaderLine(m_lines.at(i))) {
                readerIndex = i;
                break;
            }
        }

        // Header and rows share one layout. A dual-channel printout with results
        // of both averaging kinds gets the layout that holds all of them.
        const bool both = m_flags.q3 && m_flags.q5;
        if (m_flags.dual)
            m_layout = both ? PrintoutLayout::DualBoth : PrintoutLayout::Dual;
        else if (both)
            m_layout = PrintoutLayout::Both;
        else
            m_layout = m_flags.q5 ? PrintoutLayout::Q5 : PrintoutLayout::Plain;
        m_columns = layoutColumns(m_layout);

        if (readerIndex >= 0) {
            out << downloadedLine(m_lines.at(readerIndex)) << QString();
        }
        out << printoutHeaderNames(m_layout).join(u'\t');
        if (readerIndex < 0)
            return;

        resetFields();
        for (qsizetype i = readerIndex + 1; i < m_lines.size(); ++i) {
            if (!measurementLine(m_lines.at(i), out)) {
                out << kFormatError;
                return;
            }
        }
    }

    QString downloadedLine(const QString& readerLine) const
    {
        const qsizetype recal = readerLine.indexOf(QLatin1String("Recal"));
        const QString reader = recal < 0 ? readerLine : readerLine.left(recal);
        const QString recalText = recal < 0 ? QString() : readerLine.mid(recal + 9);
        const QLocale c = QLocale::c();
        return QStringLiteral("Downloaded on ") +
               c.toString(m_ctx.downloadTime.date(), m_ctx.shortDateFormat) + QStringLiteral(" at ") +
               c.toString(m_ctx.downloadTime.time(), QStringLiteral("HH:mm")) +
               QStringLiteral(" using reader ") + reader + QStringLiteral(" (Recal.Due ") +
               recalDateText(recalText) + QStringLiteral(")");
    }

    // A recalibration date: the date part of a print date with midnight put in
    // front; day 0 of the date scale when it cannot be read.
    QString recalDateText(const QString& text) const
    {
        const auto dt = printout::readPrintDate(QStringLiteral("0 ") + text);
        return QLocale::c().toString(dt ? dt->date() : kDayZero, m_ctx.shortDateFormat);
    }

    QString dateTimeText(const std::optional<QDateTime>& dt) const
    {
        if (!dt)
            return kNoDate;
        const QLocale c = QLocale::c();
        return c.toString(dt->time(), m_ctx.shortTimeFormat) + u' ' +
               c.toString(dt->date(), m_ctx.shortDateFormat);
    }

    void resetFields()
    {
        for (QString& f : m_fields)
            f.clear();
        m_fields[ColSettings2] = kDefaultSettingsCh2;
        m_fields[ColDual] = QStringLiteral("no");
        m_fields[ColTimeHist] = QStringLiteral("no");
        m_fields[ColDualTh] = QStringLiteral("no");
        m_newGeneration = false;
        m_ch1Markers.clear();
        m_start.reset();
    }

    void setFirstWord(Col col, const QString& value) { m_fields[col] = firstWord(value); }

    void calibration(const QString& value, Col dbCol, Col timeCol)
    {
        m_fields[dbCol] = QStringLiteral("0");
        m_fields[timeCol] = QStringLiteral("not calibrated");
        if (value == QLatin1String("unit not calibrated"))
            return;
        const qsizetype db = value.indexOf(QLatin1String("dB"));
        m_fields[dbCol] = db < 0 ? QString() : value.left(db).trimmed();
        const QStringList words = value.split(u' ', Qt::SkipEmptyParts);
        QString dateWord = words.isEmpty() ? QString() : words.last();
        const QString timeWord = words.size() >= 2 ? words.at(words.size() - 2) : QString();
        if (dateWord.indexOf(u'/') == 1)
            dateWord.prepend(u'0');
        m_fields[timeCol] = dateTimeText(printout::readPrintDate(timeWord + u' ' + dateWord));
    }

    void measurementHeader(const QString& key, const QString& value)
    {
        // A second header inside an unfinished block: that block was cut off and
        // must not lend its values to this one.
        if (!m_fields[ColNum].isEmpty())
            resetFields();
        m_fields[ColNum] = key.mid(1).trimmed();
        const QStringList words = value.split(u' ', Qt::SkipEmptyParts);
        const QString model = words.value(0);
        m_newGeneration = !(model.contains(QLatin1String(":40")) || model.contains(u'4') ||
                            model.contains(QLatin1String("OEM")));
        if (words.size() < 2) {
            m_fields[ColNum] = kUnreadable;
            m_fields[ColBadge] = kUnreadable;
            m_fields[ColRecalDue] = kUnreadable;
            return;
        }
        QString serial = words.at(1);
        if (serial.startsWith(QLatin1String("Recal")))
            serial = words.at(0);
        serial.remove(u'#');
        m_fields[ColBadge] = serial;
        const qsizetype recal = value.indexOf(QLatin1String("Recal"));
        m_fields[ColRecalDue] = recalDateText(recal < 0 ? QString() : value.mid(recal + 9));
    }

    // --- time histories

    struct HistoryHead
    {
        QString durationWord;
        double period = 60;
    };

    static HistoryHead historyHead(const QString& key)
    {
        HistoryHead h;
        const qsizetype blank = key.indexOf(u' ');
        h.durationWord = blank < 0 ? key : key.left(blank);
        bool ok = false;
        const double p = QLocale::c().toDouble(h.durationWord, &ok);
        if (ok && std::isfinite(p) && p > 0)
            h.period = p;
        return h;
    }

    QString dateItem() const
    {
        const QDate d = m_start ? m_start->date() : kDayZero;
        QString s = QStringLiteral("date:d");
        appendTwoDigits(s, d.day());
        s.append(u'm');
        appendTwoDigits(s, d.month());
        s.append(u'y');
        s.append(QString::number(d.year()).rightJustified(4, u'0'));
        s.append(u' ');
        return s;
    }

    double calOffset() const
    {
        bool ok = false;
        const double v = QLocale::c().toDouble(m_fields[ColCal1Db].trimmed(), &ok);
        return ok && std::isfinite(v) ? v : 0.0;
    }

    QString historyPrefix(const char* title, const HistoryHead& h, int q) const
    {
        QString s;
        s.append(QLatin1String("\tTimeHistory "));
        s.append(QLatin1String(title));
        s.append(QLatin1String(" duration"));
        s.append(h.durationWord);
        s.append(QLatin1String("s Q="));
        s.append(QString::number(q));
        s.append(u' ');
        s.append(dateItem());
        return s;
    }

    bool channel1(const QString& key, const QString& value)
    {
        const QString& settings = m_fields[ColSettings];
        int q = 3;
        if (settings.contains(QLatin1String("=4")))
            q = 4;
        if ((settings.contains(QLatin1String("Q5")) || settings.contains(QLatin1String("5dB"))) &&
            m_newGeneration)
            q = 5;
        const bool lavg = q != 3 || (settings.contains(QLatin1String("Slow")) && m_newGeneration);
        const HistoryHead h = historyHead(key);
        const double cal = calOffset();

        const qsizetype n = wordCount(value);
        QString s = historyPrefix(lavg ? "Lavg" : "LAeq", h, q);
        s.reserve(s.size() + n * 7);
        m_levels1.use(0x2000, h.period, cal, q, m_flags.dual);
        std::vector<int> markerKeys(std::size_t(n), -1);
        MarkerFilter markers;
        for (qsizetype i = 0; i < n; ++i) {
            quint16 w = 0;
            if (!wordAt(value, i, w))
                return false;
            if (w & 0x8000) {
                markerKeys[std::size_t(i)] = markerKey(w);
                markers.append(s, markerKeys[std::size_t(i)]);
                continue;
            }
            m_levels1.append(s, w & 0x1FFF,
                             [&] { return printout::sampleLevel(w, h.period, q, cal, m_flags.dual); });
            if (w & 0x4000)
                s.append(u'P');
            if (w & 0x2000)
                s.append(u'O');
            s.append(u' ');
        }
        m_fields[ColTimeHist] = QStringLiteral("yes");
        m_fields[ColThCh1] = s;
        m_ch1Markers = std::move(markerKeys);
        return true;
    }

    // The channel-1 word at the same position decides whether a position of
    // the peak or channel-2 data is a time marker.
    bool ch1Marker(qsizetype i, int& key) const
    {
        if (std::size_t(i) >= m_ch1Markers.size() || m_ch1Markers[std::size_t(i)] < 0)
            return false;
        key = m_ch1Markers[std::size_t(i)];
        return true;
    }

    void peakAndBattery(const QString& key, const QString& value)
    {
        const HistoryHead h = historyHead(key);
        const double cal = calOffset();
        const qsizetype n = wordCount(value);
        QString peak = historyPrefix("Peak", h, 0);
        QString batt = historyPrefix("Battery", h, 0);
        peak.reserve(peak.size() + n * 7);
        batt.reserve(batt.size() + n * 5);
        m_peaks.use(0x400, cal, 0, 0, false);
        m_volts.use(0x40, 0, 0, 0, false);
        MarkerFilter peakMarkers, battMarkers;
        for (qsizetype i = 0; i < n; ++i) {
            int marker = 0;
            if (ch1Marker(i, marker)) {
                peakMarkers.append(peak, marker);
                battMarkers.append(batt, marker);
                continue;
            }
            quint16 v = 0;
            if (!wordAt(value, i, v))
                v = 0;
            m_peaks.append(peak, v & 0x3FF, [&] { return printout::peakLevel(v, cal); });
            peak.append(u' ');
            m_volts.append(batt, v >> 10, [&] { return printout::batteryVolts(v); });
            batt.append(u' ');
        }
        m_fields[ColThPeak] = peak;
        m_fields[ColThBatt] = batt;
    }

    void channel2(const QString& key, const QString& value)
    {
        const QString& settings = m_fields[ColSettings2];
        int q = 3;
        if (settings.contains(QLatin1String("=4")))
            q = 4;
        if (settings.contains(QLatin1String("Q5")) || settings.contains(QLatin1String("5dB")))
            q = 5;
        const HistoryHead h = historyHead(key);
        const double cal = calOffset();
        const qsizetype n = wordCount(value);
        QString s = historyPrefix("Ch2", h, q);
        s.reserve(s.size() + n * 7);
        m_levels2.use(0x2000, h.period, cal, q, m_flags.dual);
        MarkerFilter markers;
        for (qsizetype i = 0; i < n; ++i) {
            int marker = 0;
            if (ch1Marker(i, marker)) {
                markers.append(s, marker);
                continue;
            }
            quint16 w = 0;
            if (!wordAt(value, i, w))
                w = 0;
            m_levels2.append(s, w & 0x1FFF,
                             [&] { return printout::sampleLevel(w, h.period, q, cal, m_flags.dual); });
            if (w & 0x2000)
                s.append(u'O');
            s.append(u' ');
        }
        m_fields[ColThCh2] = s;
    }

    // --- rows

    void writeRow(QStringList& out)
    {
        QString row;
        qsizetype size = 0;
        for (const QString& f : m_fields)
            size += f.size() + 1;
        row.reserve(size);
        bool first = true;
        for (Col c : m_columns) {
            if (c >= ColThCh1)
                break;
            if (!first)
                row.append(u'\t');
            first = false;
            if (c != ColNotes && c != ColCursor1 && c != ColCursor2)
                row.append(m_fields[c]);
        }
        // The time histories follow "DualTH" directly; each present string
        // starts with its own tab. An absent string before a present one keeps
        // its (empty) column so that the later strings stay under their names.
        int last = -1;
        for (int c = ColThCh1; c <= ColThCh2; ++c) {
            if (!m_fields[c].isEmpty())
                last = c;
        }
        for (int c = ColThCh1; c <= last; ++c) {
            if (m_fields[c].isEmpty())
                row.append(u'\t');
            else
                row.append(m_fields[c]);
        }
        out << row;
        resetFields();
    }

    // Applies the first matching rule to one line; false on a format error.
    bool measurementLine(const QString& line, QStringList& out)
    {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            return true;
        const QString key = line.left(colon).trimmed().toLower();
        if (key.isEmpty())
            return true;
        const QString value = line.mid(colon + 1).trimmed();
        auto is = [&key](const char* k) {
            return key == QLatin1String(k);
        };

        if (key.startsWith(u'#')) {
            measurementHeader(key, value);
        } else if (is("badge version")) {
            m_fields[ColFirmware] = m_ctx.readerFirmware + u' ' + value;
        } else if (is("first cal")) {
            calibration(value, ColCal1Db, ColCal1Time);
        } else if (is("last cal")) {
            calibration(value, ColCal2Db, ColCal2Time);
        } else if (is("settings")) {
            m_fields[ColSettings] = value;
        } else if (key.contains(QLatin1String("reset"))) {
            m_fields[ColResetTime] = dateTimeText(printout::readPrintDate(value));
        } else if (is("read") || is("measurement")) {
            m_start = printout::readPrintDate(value);
            m_fields[ColMeasTime] = dateTimeText(m_start);
        } else if (is("run time")) {
            m_fields[ColRunTime] = printout::runTimeText(value);
        } else if (is("lavg")) {
            setFirstWord(ColLavg, value);
        } else if (is("twa")) {
            setFirstWord(ColTwa, value);
        } else if (is("dose")) {
            setFirstWord(exchangeRateResult(value) ? ColDose5 : ColDose, value);
        } else if (is("exp")) {
            setFirstWord(ColExp, value);
        } else if (is("leq")) {
            setFirstWord(ColLeq, value);
        } else if (is("sel") || is("lae")) {
            setFirstWord(ColLae, value);
        } else if (is("est dose")) {
            setFirstWord(exchangeRateResult(value) ? ColEstDose5 : ColEstDose, value);
        } else if (is("est exp")) {
            setFirstWord(ColEstExp, value);
        } else if (is("lepd") ||
                   (key.startsWith(QLatin1String("lex")) && !key.contains(QLatin1String(" 2")))) {
            setFirstWord(ColLepd, value);
        } else if (is("dose 2")) {
            setFirstWord(Col2Dose, value);
        } else if (is("exp 2")) {
            setFirstWord(Col2Exp, value);
        } else if (is("leq 2")) {
            setFirstWord(Col2Leq, value);
            m_fields[ColDual] = QStringLiteral("yes");
        } else if (is("lae 2")) {
            setFirstWord(Col2Lae, value);
        } else if (is("est dose 2")) {
            setFirstWord(Col2EstDose, value);
        } else if (is("est exp 2")) {
            setFirstWord(Col2EstExp, value);
        } else if (key.startsWith(QLatin1String("lex")) && key.indexOf(QLatin1String(" 2"), 1) >= 0) {
            setFirstWord(Col2Lepd, value);
        } else if (is("settings3")) {
            m_fields[ColSettings2] = value;
        } else if (is("dose 3")) {
            setFirstWord(Col2Dose5, value);
        } else if (is("lavg 3")) {
            setFirstWord(Col2Lavg, value);
            m_fields[ColDual] = QStringLiteral("yes");
        } else if (is("twa 3")) {
            setFirstWord(Col2Twa, value);
        } else if (is("est dose 3")) {
            setFirstWord(Col2EstDose5, value);
        } else {
            return otherLine(key, value, out);
        }
        return true;
    }

    bool exchangeRateResult(const QString& value) const
    {
        return value.contains(QLatin1String("(q=5)"), Qt::CaseInsensitive) || !m_fields[ColTwa].isEmpty();
    }

    bool otherLine(const QString& key, const QString& value, QStringList& out)
    {
        auto is = [&key](const char* k) {
            return key == QLatin1String(k);
        };
        if (key.contains(QLatin1String("time history"))) {
            if (!channel1(key, value))
                return false;
        }
        if (key.contains(QLatin1String("peak data")))
            peakAndBattery(key, value);
        if (key.contains(QLatin1String("dual data"))) {
            m_fields[ColDualTh] = QStringLiteral("yes");
            channel2(key, value);
        }
        if (key.contains(QLatin1String("thre data"))) {
            if (m_fields[ColSettings2].isEmpty())
                m_fields[ColSettings2] = QStringLiteral("5dB");
            m_fields[ColDualTh] = QStringLiteral("yes");
            channel2(key, value);
        }
        if (key.startsWith(QLatin1String("peak"))) {
            const qsizetype blank = key.indexOf(u' ');
            const QString rest = blank < 0 ? QString() : key.mid(blank + 1).trimmed();
            m_fields[ColPeak] = rest + u' ' + value;
        }
        if (is("o.l.") || is("overload")) {
            m_fields[ColOverload] = value;
            return true;
        }
        const bool battery = is("batt") || is("battery");
        if (battery)
            m_fields[ColBattery] = value;
        if (key.contains(QLatin1String("115db")) || key.contains(QLatin1String("117db"))) {
            m_fields[ColLfMax] = value;
            return true;
        }
        const bool dataCheck = is("data check");
        if (dataCheck)
            m_fields[ColDataCheck] = value;
        if ((battery && !m_flags.dataCheck) || (dataCheck && m_flags.dataCheck))
            writeRow(out);
        return true;
    }

    const QStringList& m_lines;
    const PrintoutContext& m_ctx;
    Flags m_flags;
    PrintoutLayout m_layout = PrintoutLayout::Plain;
    QVector<Col> m_columns;
    std::array<QString, ColCount> m_fields;
    bool m_newGeneration = false;
    // Marker key (hour * 100 + minute) of each word of the block's channel-1
    // samples, -1 for a sample: where the other channels have their markers.
    std::vector<int> m_ch1Markers;
    ValueTexts m_levels1, m_levels2, m_peaks, m_volts;
    std::optional<QDateTime> m_start;
};

} // namespace

PrintoutContext PrintoutContext::fromLocale(const QLocale& locale, const QDateTime& downloadTime,
                                            const QString& readerFirmware)
{
    PrintoutContext ctx;
    ctx.downloadTime = downloadTime;
    ctx.readerFirmware = readerFirmware;
    ctx.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    ctx.shortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
    return ctx;
}

PrintoutContext PrintoutContext::fromUserFormats(const UserFormats& formats, const QDateTime& downloadTime,
                                                 const QString& readerFirmware)
{
    PrintoutContext ctx;
    ctx.downloadTime = downloadTime;
    ctx.readerFirmware = readerFirmware;
    ctx.shortDateFormat = formats.shortDate;
    ctx.shortTimeFormat = formats.shortTime;
    return ctx;
}

QStringList printoutHeaderNames(PrintoutLayout layout)
{
    QStringList names;
    for (Col c : layoutColumns(layout))
        names << QLatin1String(kColumnNames[c]);
    return names;
}

QStringList ParsePrintout(const QStringList& lines, const PrintoutContext& context)
{
    return Parser(lines, context).run();
}

namespace printout {

std::optional<QDateTime> readPrintDate(const QString& text)
{
    if (text.isEmpty() || text.contains(QLatin1String("//")) ||
        text.contains(QLatin1String("not calibrated"), Qt::CaseInsensitive))
        return std::nullopt;
    const qsizetype blank = text.indexOf(u' ');
    const QStringView all(text);
    const QStringView timePart = blank < 0 ? all : all.left(blank);
    QString datePart = blank < 0 ? QString() : text.mid(blank + 1).trimmed();
    const int hour = lenientInt(timePart.left(2));
    const int minute = timePart.size() > 3 ? lenientInt(timePart.mid(3, 2)) : 0;
    if (datePart.indexOf(u'/') == 1)
        datePart.prepend(u'0');
    int day = 0, month = 0, year = 0;
    if (!strictUInt(datePart.mid(0, 2), day) || !strictUInt(datePart.mid(3, 2), month) ||
        !strictUInt(datePart.mid(6, 2), year))
        return std::nullopt;
    year += year < 89 ? 2000 : 1900;
    const QDate date(year, month, day);
    const QTime time(hour, minute);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    // A wall-clock reading: no time zone, so that no daylight-saving gap can move it.
    return QDateTime(date, time, Qt::UTC);
}

QString runTimeText(const QString& value)
{
    int hours = 0, minutes = 0, seconds = 0;
    const qsizetype dot = value.indexOf(u'.');
    if (dot >= 0) {
        hours = lenientInt(QStringView(value).left(dot));
        minutes = 6 * lenientInt(QStringView(value).mid(dot + 1));
    } else {
        QString v = value;
        if (v.size() == 4)
            v.prepend(QLatin1String("00:0"));
        else if (v.size() == 5)
            v.prepend(QLatin1String("00:"));
        else if (v.size() == 7)
            v.prepend(u'0');
        if (!strictUInt(v.mid(0, 2), hours) || !strictUInt(v.mid(3, 2), minutes) ||
            !strictUInt(v.mid(6, 2), seconds))
            return kNoDate;
    }
    if (minutes >= 60 || seconds >= 60)
        return kNoDate;
    auto two = [](int v) {
        return QString::number(v).rightJustified(2, u'0');
    };
    return two(hours) + u':' + two(minutes) + u':' + two(seconds);
}

quint32 sampleMagnitude(quint16 word)
{
    quint32 m = (quint32(word) & 0xFFu) * 65536u;
    m >>= (quint32(word) >> 8) & 0x1Fu;
    return m * 59u / 50u;
}

double sampleLevel(quint16 word, double period, int q, double calOffset, bool dual)
{
    const double qq = q == 3 ? 3.0103 : double(q);
    const quint32 m = sampleMagnitude(word);
    double level = m > 0 ? 80.0 + (std::log2(double(m)) - std::log2(period)) * qq + calOffset
                         : 80.0 - std::log2(period) * qq + calOffset;
    if (q == 4)
        level -= 15.4;
    else if (q == 5)
        level -= 33.8;
    if (dual)
        level += 10.0;
    return level;
}

QString markerItem(quint16 word)
{
    QString s;
    appendMarkerItem(s, markerKey(word));
    return s.trimmed();
}

double peakLevel(quint16 word, double calOffset)
{
    const int raw = word & 0x3FF;
    return raw > 0 ? 84.0 + 6.02 * std::log2(double(raw)) + calOffset : 84.0 + calOffset;
}

double batteryVolts(quint16 word)
{
    return (word / 1024) * 0.1169;
}

} // namespace printout
} // namespace sonvex

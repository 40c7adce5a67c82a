#include "data/KVTimeHistory.h"

#include "data/LeqFile.h"

#include <QLocale>
#include <QTime>
#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace sonvex {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr qint64 kMsPerDay = 86400000;
// Marker and running times are compared with this tolerance (about 86 microseconds), so that
// rounding in the running time never inserts a spurious pause or moves a marker by a day.
constexpr double kTimeTolerance = 1e-9;
constexpr double kFloorLevel = 66.0;

bool isTrimmed(QChar c)
{
    return c.unicode() <= 32;
}

QChar asciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(char16_t(u + 32)) : c;
}

// Lower-casing touches only A-Z, as the files' own tools did.
QString asciiLowered(QStringView s)
{
    QString r(s.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i)
        r[i] = asciiLower(s[i]);
    return r;
}

bool asciiLowerEquals(QStringView s, QLatin1StringView lower)
{
    if (s.size() != lower.size())
        return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (asciiLower(s[i]) != QLatin1Char(lower[i]))
            return false;
    }
    return true;
}

void removeFirst(QString& s, QLatin1StringView what)
{
    const qsizetype at = s.indexOf(what);
    if (at >= 0)
        s.remove(at, what.size());
}

// The item without its first "P" and first "O".
QString strippedItem(QStringView item)
{
    QString s = item.toString();
    removeFirst(s, QLatin1StringView("P"));
    removeFirst(s, QLatin1StringView("O"));
    return s;
}

// A decimal number as file data writes it: optional sign, digits with an optional point,
// optional exponent; nothing else (no blanks, no separators, no inf or nan).
bool readNumber(const char* s, qsizetype n, double& out)
{
    qsizetype i = 0;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        qsizetype expDigits = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    const char* first = s + (s[0] == '+' ? 1 : 0);
    double value = 0.0;
    const auto result = std::from_chars(first, s + n, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != s + n || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

// Reads `item` without its first "P" and first "O" as a number.
bool readStrippedNumber(QStringView item, double& out)
{
    QVarLengthArray<char, 32> buffer;
    bool skippedP = false;
    bool skippedO = false;
    for (QChar c : item) {
        if (c == u'P' && !skippedP) {
            skippedP = true;
            continue;
        }
        if (c == u'O' && !skippedO) {
            skippedO = true;
            continue;
        }
        if (c.unicode() > 127)
            return false;
        buffer.append(char(c.unicode()));
    }
    return readNumber(buffer.constData(), buffer.size(), out);
}

bool readNumber(QStringView text, double& out)
{
    QVarLengthArray<char, 32> buffer;
    for (QChar c : text) {
        if (c.unicode() > 127)
            return false;
        buffer.append(char(c.unicode()));
    }
    return readNumber(buffer.constData(), buffer.size(), out);
}

// A whole number: optional sign and decimal digits, within 32 bits.
bool readInt(QStringView text, int& out)
{
    if (text.isEmpty())
        return false;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'+' || text[0] == u'-') {
        negative = text[0] == u'-';
        ++i;
    }
    if (i >= text.size())
        return false;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return false;
    out = int(value);
    return true;
}

// The two characters at 1-based position `pos` of `item` read as a number (0 when unreadable).
int twoDigitsAt(QStringView item, qsizetype pos, qsizetype count = 2)
{
    int value = 0;
    if (pos >= 1 && pos <= item.size())
        readInt(item.mid(pos - 1, count), value);
    return value;
}

// Time of day of a marker item ("time:h08n30") in milliseconds; false when the hour or minute
// is out of range (an unreadable part counts as 0).
bool markerMs(QStringView item, qint64& ms)
{
    const qsizetype p = item.indexOf(u"time") + 1;
    const int hour = twoDigitsAt(item, p + 6);
    const int minute = twoDigitsAt(item, p + 9);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return false;
    ms = (qint64(hour) * 60 + minute) * 60000;
    return true;
}

// Splits the time-history string into items: at each blank, with every character up to
// ASCII 32 trimmed from both ends of an item.
class ItemScanner
{
public:
    explicit ItemScanner(QStringView text) : m_text(text) {}
    bool next(qsizetype& start, qsizetype& length)
    {
        while (m_pos < m_text.size() && isTrimmed(m_text[m_pos]))
            ++m_pos;
        if (m_pos >= m_text.size())
            return false;
        start = m_pos;
        qsizetype end = m_text.indexOf(u' ', m_pos);
        if (end < 0)
            end = m_text.size();
        m_pos = end;
        while (end > start && isTrimmed(m_text[end - 1]))
            --end;
        length = end - start;
        return true;
    }
    QStringView nextView()
    {
        qsizetype start = 0;
        qsizetype length = 0;
        return next(start, length) ? m_text.mid(start, length) : QStringView();
    }
    qsizetype position() const { return m_pos; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

QString timeOfDayText(double chartTime, const QString& format)
{
    double whole = 0.0;
    const double fraction = std::fabs(std::modf(chartTime, &whole));
    qint64 ms = std::isfinite(fraction) ? std::llround(fraction * double(kMsPerDay)) : 0;
    ms %= kMsPerDay;
    return QLocale().toString(QTime::fromMSecsSinceStartOfDay(int(ms)), format);
}

QString durationText(qint64 seconds, bool minutesOnly)
{
    seconds %= 86400;
    if (seconds < 0)
        seconds += 86400;
    const int h = int(seconds / 3600);
    const int m = int(seconds / 60 % 60);
    const int s = int(seconds % 60);
    return minutesOnly ? QString::asprintf("%02d:%02d", h, m) : QString::asprintf("%02d:%02d:%02d", h, m, s);
}

QString markerItem(qint64 ms)
{
    ms %= kMsPerDay;
    if (ms < 0)
        ms += kMsPerDay;
    const qint64 minutes = ms / 60000;
    return QString::asprintf("time:h%02dn%02d", int(minutes / 60), int(minutes % 60));
}

QString stripTimeZoneField(const QString& format)
{
    QString r;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        r += c;
    }
    return r.simplified();
}

double roundHalfEven(double x)
{
    return std::nearbyint(x); // the default rounding mode rounds half to even
}

} // namespace

double TimeHistorySeries::minValue() const
{
    if (points.isEmpty())
        return 0.0;
    double m = points.front().value;
    for (const auto& p : points)
        m = std::min(m, p.value);
    return m;
}

double TimeHistorySeries::maxValue() const
{
    if (points.isEmpty())
        return 0.0;
    double m = points.front().value;
    for (const auto& p : points)
        m = std::max(m, p.value);
    return m;
}

TimeFormats TimeFormats::fromLocale(const QLocale& locale)
{
    return {locale.timeFormat(QLocale::ShortFormat),
            stripTimeZoneField(locale.timeFormat(QLocale::LongFormat))};
}

// ---------------------------------------------------------------------------------------------

TKVTimeHistory::TKVTimeHistory(QObject* parent)
    : QObject(parent), m_timeFormats(TimeFormats::fromLocale(QLocale()))
{
    m_colours.pause = TimeHistoryColours::kButtonFace;
}

TKVTimeHistory::TKVTimeHistory(bool isMainChannel, bool cursorsEnabled, QObject* parent)
    : QObject(parent), m_hasChart(true), m_isMainChannel(isMainChannel), m_cursorsEnabled(cursorsEnabled),
      m_underrangeLevel(70), m_timeFormats(TimeFormats::fromLocale(QLocale())), m_axisMode(1)
{
    m_colours.normalLine = TimeHistoryColours::kBlue;
    m_colours.cursor = TimeHistoryColours::kRed;
    m_colours.series = TimeHistoryColours::kBlack;
    m_colours.peak = TimeHistoryColours::kRed;
    m_colours.overload = TimeHistoryColours::kRed;
    m_colours.peakAndOverload = TimeHistoryColours::kOrange;
    m_colours.pause = TimeHistoryColours::kWhite;
}

void TKVTimeHistory::setData(const QString& text)
{
    m_source = text;
    m_entries.clear();
    m_anyUnreadable = false;
    m_termsValid = false;
    m_samplePeriod = 60;
    m_periodDays = 60.0 / kSecondsPerDay;
    m_startTime = 0.0;
    m_startDateTime = QDateTime();
    m_rateItem.clear();

    const bool line = m_isMainChannel || text.contains(QLatin1StringView("TimeHistory Ch2"));
    m_series = TimeHistorySeries();
    m_series.kind = line ? TimeHistorySeries::Kind::Line : TimeHistorySeries::Kind::Points;
    m_series.colour = m_colours.series;
    m_seriesCreated = true;
    if (text.isEmpty())
        return;

    const QStringView source(m_source);
    ItemScanner scanner(source);
    scanner.nextView(); // the "TimeHistory" marker
    m_series.title = scanner.nextView().toString();

    const QStringView periodItem = scanner.nextView();
    const qsizetype sAt = periodItem.indexOf(u's');
    int period = 60;
    if (sAt >= 0) {
        if (sAt - 8 <= 0 || !readInt(periodItem.mid(8, sAt - 8), period))
            period = 60;
    }
    m_samplePeriod = period;
    m_periodDays = period / kSecondsPerDay;

    m_rateItem = scanner.nextView().toString();
    if (line && m_series.title == QLatin1StringView("Ch2"))
        m_series.title =
            m_rateItem == QLatin1StringView("Q=3") ? QStringLiteral("LAeq") : QStringLiteral("Lavg 2");

    const QStringView dateItem = scanner.nextView();
    const qsizetype dp = dateItem.indexOf(u"date") + 1;
    const int day = twoDigitsAt(dateItem, dp + 6);
    const int month = twoDigitsAt(dateItem, dp + 9);
    const int year = twoDigitsAt(dateItem, dp + 12, 4);
    const QDate date = (year >= 1 && year <= 9999) ? QDate(year, month, day) : QDate();

    qint64 startMs = 0;
    if (!markerMs(scanner.nextView(), startMs))
        startMs = 0;
    const QTime startTime = QTime::fromMSecsSinceStartOfDay(int(startMs));
    m_startTime = double(startMs) / double(kMsPerDay);
    if (date.isValid())
        m_startDateTime = QDateTime(date, startTime, Qt::UTC);

    const TimeHistoryColours& c = m_colours;
    const ChartColour seriesColour = c.series;
    const double t0 = m_startTime;
    const double periodDays = m_periodDays;
    auto timeOf = [&](size_t n) {
        return t0 + double(n) * periodDays;
    };
    auto& points = m_series.points;

    // Previous/current values of the step drawing.
    double prevValue = 100.0;
    if (line) {
        ItemScanner ahead = scanner;
        for (QStringView item = ahead.nextView(); !item.isEmpty(); item = ahead.nextView()) {
            if (item.contains(u"time"))
                continue;
            if (!readStrippedNumber(item, prevValue))
                prevValue = 100.0;
            break;
        }
    }
    double t = t0;
    double prevTime = t;
    ChartColour prevColour = seriesColour;
    double curValue = 0.0;
    ChartColour curColour{};

    m_entries.reserve(size_t(source.size() / 5));
    points.reserve(qsizetype(source.size() / 2));

    qsizetype start = 0;
    qsizetype length = 0;
    while (scanner.next(start, length)) {
        const QStringView item = source.mid(start, length);
        if (!item.contains(u"time")) {
            Entry e{start, qint32(length), 0, 0.0};
            if (item.contains(u'P'))
                e.flags |= HasP;
            if (item.contains(u'O'))
                e.flags |= HasO;
            if (asciiLowerEquals(item, QLatin1StringView("pause")))
                e.flags |= Pause;
            if (!readStrippedNumber(item, e.level)) {
                e.level = 0.0;
                e.flags |= Unreadable;
                if (!(e.flags & Pause))
                    m_anyUnreadable = true;
            }
            ChartColour colour = seriesColour;
            if ((e.flags & HasP) && (e.flags & HasO))
                colour = c.peakAndOverload;
            else if (e.flags & HasP)
                colour = c.peak;
            else if (e.flags & HasO)
                colour = c.overload;
            const double value = e.level;
            m_entries.push_back(e);

            if (line) {
                if (prevValue >= 0)
                    points.append({prevTime, prevValue, prevColour});
                if (colour == seriesColour && prevColour == seriesColour) {
                    points.append({t, value, c.normalLine});
                } else {
                    if (colour != seriesColour)
                        points.append({t, value, colour});
                    if (prevColour != seriesColour)
                        points.append({t, value, prevColour});
                }
            } else if (value > m_underrangeLevel) {
                points.append({t + m_samplePeriod / (2.0 * kSecondsPerDay), value, colour});
            }
            t = timeOf(m_entries.size());
            curValue = value;
            curColour = colour;
        } else {
            qint64 ms = 0;
            if (!markerMs(item, ms))
                ms = 0;
            double m = double(ms) / double(kMsPerDay);
            if (line)
                points.append({prevTime, prevValue, prevColour});
            if (m + 1.0 / 1440.0 < t - kTimeTolerance)
                m += 1.0; // the marker belongs to the next day
            // A period that does not move time forward cannot reach the marker.
            while (periodDays > 0 && m > t + kTimeTolerance) {
                m_entries.push_back(Entry{-1, 5, quint8(Pause | Unreadable), 0.0});
                t = timeOf(m_entries.size());
                if (line)
                    points.append({t, prevValue, c.pause});
            }
        }
        prevValue = curValue;
        prevTime = t;
        prevColour = curColour;
    }
    if (line)
        points.append({t, curValue, prevColour});
}

// ---------------------------------------------------------------------------------------------

QStringView TKVTimeHistory::itemView(int i) const
{
    const Entry& e = m_entries[size_t(i)];
    if (e.itemStart < 0)
        return u"pause";
    return QStringView(m_source).mid(e.itemStart, e.itemLength);
}

double TKVTimeHistory::sampleTime(int i) const
{
    if (i < 0 || i >= sampleCount())
        return 0.0;
    return m_startTime + double(i) * m_periodDays;
}

QString TKVTimeHistory::keyText(double t)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, t, std::chars_format::general, 15);
    // The general form writes the exponent as "E" with its sign only when negative and no
    // leading zeros ("1E-11"), where C writes "1e-11" or "1e+15".
    QString text;
    for (const char* p = buffer; p != result.ptr; ++p) {
        if (*p == 'e') {
            text += u'E';
            ++p;
            if (*p == '-')
                text += u'-';
            ++p;
            while (p + 1 != result.ptr && *p == '0')
                ++p;
            for (; p != result.ptr; ++p)
                text += QLatin1Char(*p);
            break;
        }
        text += QLatin1Char(*p);
    }
    text += QLatin1StringView("0000000000");
    return text.left(12);
}

QString TKVTimeHistory::sampleKey(int i) const
{
    if (i < 0 || i >= sampleCount())
        return {};
    return keyText(sampleTime(i) + kKeyOffset);
}

QString TKVTimeHistory::sampleItem(int i) const
{
    if (i < 0 || i >= sampleCount())
        return {};
    return itemView(i).toString();
}

QString TKVTimeHistory::sampleEntry(int i) const
{
    if (i < 0 || i >= sampleCount())
        return {};
    return sampleKey(i) + u'=' + itemView(i).toString();
}

QString TKVTimeHistory::sampleTimeText(int i) const
{
    if (i < 0 || i >= sampleCount())
        return {};
    return timeOfDayText(sampleTime(i), m_timeFormats.shortTime);
}

QString TKVTimeHistory::sampleValueText(int i) const
{
    if (i < 0 || i >= sampleCount())
        return {};
    QString s = itemView(i).toString();
    for (const char* what : {"P", "O", "p", "o", "ause"})
        removeFirst(s, QLatin1StringView(what));
    return s;
}

QString TKVTimeHistory::samplePeakFlag(int i) const
{
    if (i < 0 || i >= sampleCount())
        return {};
    const QString lower = asciiLowered(itemView(i));
    return lower.contains(u'p') && !lower.contains(QLatin1StringView("pause")) ? QStringLiteral("P ")
                                                                               : QString();
}

QString TKVTimeHistory::samplePauseFlag(int i) const
{
    if (i < 0 || i >= sampleCount())
        return {};
    return asciiLowered(itemView(i)).contains(QLatin1StringView("pause")) ? QStringLiteral("pause ")
                                                                          : QString();
}

QString TKVTimeHistory::sampleOverloadFlag(int i) const
{
    if (i < 0 || i >= sampleCount())
        return {};
    return asciiLowered(sampleEntry(i)).contains(u'o') ? QStringLiteral("O ") : QString();
}

// ---------------------------------------------------------------------------------------------

bool TKVTimeHistory::indexOfTime(double x, int& index) const
{
    const int n = sampleCount();
    if (n == 0)
        return false;
    if (std::isfinite(x) && std::fabs(x) < 1e9) {
        // Whole hours, minutes and seconds, truncated toward zero. They are taken from one count
        // of whole seconds with a microsecond of tolerance, so that a time such as 08:01:00, whose
        // double lies a hair below the exact value, is not truncated to 08:00.
        double seconds = x * kSecondsPerDay;
        seconds += seconds >= 0 ? 1e-6 : -1e-6;
        const qint64 wholeSeconds = qint64(std::trunc(seconds));
        const qint64 h = wholeSeconds / 3600;
        const qint64 m = wholeSeconds / 60 - 60 * h;
        qint64 s = 0;
        if (m_samplePeriod == 5) {
            s = qint64(quint32(wholeSeconds)) - 3600 * h - 60 * m; // the count is unsigned 32-bit
            s -= s % 5;
        }
        const double v = double(3600 * h + 60 * m + s) / kSecondsPerDay;
        if (m_periodDays > 0) {
            // The sample whose period holds the looked-up time. Where a sample starts exactly
            // there, this is the sample with that key; otherwise (a period that is neither 5 s
            // nor a divisor of a minute) it is the sample in progress at that time.
            const double k = std::floor((v - m_startTime) / m_periodDays + 1e-6);
            if (k >= 0 && k < n) {
                index = int(k);
                return true;
            }
        } else {
            for (int i = 0; i < n; ++i) {
                if (std::fabs(sampleTime(i) - v) < kTimeTolerance) {
                    index = i;
                    return true;
                }
            }
        }
    }
    if (x < sampleTime(0))
        index = 0;
    else if (x > sampleTime(n - 1))
        index = n - 1;
    return false;
}

CursorTexts TKVTimeHistory::cursorTextsFor(double cursor1, double cursor2) const
{
    CursorTexts texts;
    const QString& format = m_samplePeriod == 60 ? m_timeFormats.shortTime : m_timeFormats.longTime;
    texts.cursor1Time = timeOfDayText(cursor1, format);
    texts.cursor2Time = timeOfDayText(cursor2, format);
    auto valueText = [this](double cursor, QString& out) {
        int index = 0;
        if (!indexOfTime(cursor, index))
            return;
        const QStringView item = itemView(index);
        const QString stripped = strippedItem(item);
        double value = 999.0;
        if (asciiLowerEquals(stripped, QLatin1StringView("pause")) ||
            !readNumber(QStringView(stripped), value))
            value = 999.0;
        out = m_underrangeLevel > value ? tr("Underrange") : stripped;
        if (item.contains(u'P'))
            out += QLatin1StringView(" P");
        if (item.contains(u'O'))
            out += QLatin1StringView("OL");
    };
    valueText(cursor1, texts.cursor1Value);
    valueText(cursor2, texts.cursor2Value);
    return texts;
}

void TKVTimeHistory::updateCursorTexts()
{
    m_cursorTexts = cursorTextsFor(m_cursor1, m_cursor2);
    emit cursorTextsChanged(this);
}

void TKVTimeHistory::setCursorsAndTexts(double cursor1, double cursor2)
{
    m_cursor1 = cursor1;
    m_cursor2 = cursor2;
    m_cursorTexts = cursorTextsFor(m_cursor1, m_cursor2);
}

void TKVTimeHistory::setCursor1(double time)
{
    m_cursor1 = time;
    computeSummary(true);
}

void TKVTimeHistory::setCursor2(double time)
{
    m_cursor2 = time;
    computeSummary(true);
}

void TKVTimeHistory::cursorEvent(int cursorNumber, int sampleIndex)
{
    emit cursorMoved(this, cursorNumber, sampleIndex);
}

bool TKVTimeHistory::energyAveraging() const
{
    return m_exchangeRate == 3.0 || asciiLowered(m_series.title).contains(QLatin1StringView("eq"));
}

double TKVTimeHistory::levelFromSum(int count, double sum) const
{
    if (energyAveraging())
        return 10.0 * std::log10(sum / count);
    return m_exchangeRate * std::log2(sum / count);
}

const std::vector<double>& TKVTimeHistory::termsFor(bool energy, double q) const
{
    if (m_termsValid && m_termsEnergy == energy && (energy || m_termsQ == q))
        return m_terms;
    m_terms.resize(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        const double level = (e.flags & (Pause | Unreadable)) || e.level < kFloorLevel ? 0.0 : e.level;
        m_terms[i] = energy ? std::pow(10.0, level / 10.0) : std::exp2(level / q);
    }
    m_termsEnergy = energy;
    m_termsQ = q;
    m_termsValid = true;
    return m_terms;
}

CursorSummary TKVTimeHistory::summaryFor(double cursor1, double cursor2) const
{
    CursorSummary r;
    if (m_exchangeRate == 0.0)
        return r;
    const bool energy = energyAveraging();
    const double q = m_exchangeRate;
    int i1 = 0;
    int i2 = 0;
    indexOfTime(std::min(cursor1, cursor2), i1);
    indexOfTime(std::max(cursor1, cursor2), i2);
    r.index1 = i1;
    r.index2 = i2;

    const std::vector<double>& terms = termsFor(energy, q);
    const int n = sampleCount();
    double betweenSum = 0.0;
    double outsideSum = 0.0;
    for (int i = 0; i < n; ++i) {
        const Entry& e = m_entries[size_t(i)];
        if (e.flags & Pause)
            continue;
        if (e.flags & Unreadable)
            return r; // an unreadable item: nothing is reported
        if (i >= i1 && i <= i2) {
            const double level = e.level < kFloorLevel ? 0.0 : e.level;
            betweenSum += terms[size_t(i)];
            ++r.between.count;
            r.lowestBetween = std::min(r.lowestBetween, level);
            r.highestBetween = std::max(r.highestBetween, level);
        } else {
            outsideSum += terms[size_t(i)];
            ++r.outside.count;
        }
    }
    if (!std::isfinite(betweenSum) || !std::isfinite(outsideSum))
        return r; // a level too high to average
    auto finish = [&](CursorSummary::Side& side, double sum) {
        if (side.count == 0)
            return;
        const double level = levelFromSum(side.count, sum);
        side.level = roundHalfEven(10.0 * (level + 0.05)) / 10.0;
        side.levelText = QString::asprintf("%5.1f", level + 0.05);
        side.durationText = durationText(qint64(m_samplePeriod) * side.count, m_samplePeriod == 60);
    };
    finish(r.between, betweenSum);
    finish(r.outside, outsideSum);
    r.valid = true;
    return r;
}

void TKVTimeHistory::computeSummary(bool compute)
{
    m_lowestBetween = 9999.0;
    m_highestBetween = -9999.0;
    if (m_exchangeRate == 0.0)
        return;
    m_summarySuspended = !compute;
    m_summaryTexts = SummaryTexts();
    if (m_summarySuspended)
        return;
    const CursorSummary r = summaryFor(m_cursor1, m_cursor2);
    m_lowestBetween = r.lowestBetween;
    m_highestBetween = r.highestBetween;
    if (!r.valid)
        return;
    if (r.between.count > 0) {
        m_levelBetween = r.between.level;
        m_summaryTexts.levelBetween = r.between.levelText;
        m_summaryTexts.durationBetween = r.between.durationText;
    }
    if (r.outside.count > 0) {
        m_levelOutside = r.outside.level;
        m_summaryTexts.levelOutside = r.outside.levelText;
        m_summaryTexts.durationOutside = r.outside.durationText;
    }
    emit summaryChanged(this);
}

bool TKVTimeHistory::maxBetween(double cursor1, double cursor2, double& highest) const
{
    int i1 = 0;
    int i2 = 0;
    indexOfTime(std::min(cursor1, cursor2), i1);
    indexOfTime(std::max(cursor1, cursor2), i2);
    double result = 0.0;
    for (int i = i1; i <= i2 && i < sampleCount(); ++i) {
        const Entry& e = m_entries[size_t(i)];
        if (e.flags & Pause)
            continue;
        if (e.flags & Unreadable)
            return false;
        result = std::max(result, e.level);
    }
    highest = result;
    return true;
}

void TKVTimeHistory::computeMaxBetweenCursors()
{
    double highest = 0.0;
    if (maxBetween(m_cursor1, m_cursor2, highest))
        m_highestValueBetween = highest;
}

TimeHistorySpan TKVTimeHistory::spanFor(double cursor1, double cursor2) const
{
    TimeHistorySpan span;
    span.from = cursor1;
    span.to = cursor2;
    span.cursorTexts = cursorTextsFor(cursor1, cursor2);
    const CursorSummary summary = summaryFor(cursor1, cursor2);
    if (summary.valid) {
        span.summaryTexts.durationBetween = summary.between.durationText;
        span.summaryTexts.levelBetween = summary.between.levelText;
        span.summaryTexts.durationOutside = summary.outside.durationText;
        span.summaryTexts.levelOutside = summary.outside.levelText;
        span.levelBetween = summary.between.level;
        span.levelOutside = summary.outside.level;
    }
    maxBetween(cursor1, cursor2, span.highestBetween);
    return span;
}

TimeHistorySpan TKVTimeHistory::spanForWholeRecording() const
{
    if (m_series.points.isEmpty())
        return spanFor(0.0, 0.0);
    const double oneSecond = 1.0 / kSecondsPerDay;
    return spanFor(m_series.points.front().time + oneSecond, m_series.points.back().time - oneSecond);
}

bool TKVTimeHistory::chartTimeOfClock(QStringView clock, double& time) const
{
    const QList<QStringView> parts = clock.trimmed().split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    int values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringView part = parts[i];
        if (part.isEmpty() || part.size() > 2 || !readInt(part, values[i]) || part[0] == u'+' ||
            part[0] == u'-')
            return false;
    }
    if (values[0] > 23 || values[1] > 59 || values[2] > 59)
        return false;
    double t = (values[0] * 3600.0 + values[1] * 60.0 + values[2]) / kSecondsPerDay;
    if (t < m_startTime)
        t += 1.0;
    time = t;
    return true;
}

// ---------------------------------------------------------------------------------------------

bool TKVTimeHistory::exportLeqFile(const QString& fileName) const
{
    TLeqFile file;
    file.initialise(QString());
    file.setStartTime(TLeqFile::dateTimeToLeqSeconds(m_startDateTime));
    file.defineMarker(15, QStringLiteral("Background"));
    file.defineMarker(2, QStringLiteral("Overload"));
    file.defineMarker(4, QStringLiteral("Peak"));
    file.defineMarker(8, QStringLiteral("Pause"));
    file.setPeriod(m_samplePeriod);
    for (const Entry& e : m_entries) {
        if (e.flags & Pause) {
            file.appendSample(0, 8);
            continue;
        }
        // Overload (2) wins over peak (4) for a sample with both flags: the file lets a code
        // only be lowered, and an overloaded level is the more important mark.
        const int code = (e.flags & HasO) ? 2 : (e.flags & HasP) ? 4 : TLeqFile::kCodeBackground;
        const double tenths = roundHalfEven(e.level * 10.0);
        const qint64 level = std::fabs(tenths) < 1e18 ? qint64(tenths) : 0;
        file.appendSample(int(level & TLeqFile::kLevelMask), code);
    }
    return file.save(fileName);
}

QString TKVTimeHistory::reviseTimestamps(const QDateTime& newStart) const
{
    if (!newStart.isValid() || m_source.isEmpty())
        return m_source;
    const QStringView source(m_source);
    ItemScanner scanner(source);
    QString out;
    out.reserve(m_source.size() + 16);
    for (int i = 0; i < 4; ++i) {
        const QStringView item = scanner.nextView();
        if (item.isEmpty())
            return m_source;
        out += item;
        out += u' ';
    }
    if (scanner.nextView().isEmpty()) // the old date item
        return m_source;
    QStringView lastMarker = scanner.nextView();
    qint64 firstMarkerMs = 0;
    if (lastMarker.isEmpty() || !markerMs(lastMarker, firstMarkerMs))
        return m_source;
    const QDate date = newStart.date();
    const qint64 newStartMs = newStart.time().msecsSinceStartOfDay();
    const qint64 offsetMs = newStartMs - firstMarkerMs;
    out += QString::asprintf("date:d%02dm%02dy%04d ", date.day(), date.month(), date.year());
    out += markerItem(newStartMs);
    out += u' ';
    for (QStringView item = scanner.nextView(); !item.isEmpty(); item = scanner.nextView()) {
        if (!item.contains(u"time")) {
            out += item;
            out += u' ';
            continue;
        }
        if (item == lastMarker)
            continue;
        lastMarker = item;
        qint64 ms = 0;
        if (!markerMs(item, ms))
            return m_source;
        out += markerItem(ms + offsetMs);
        out += u' ';
    }
    return out;
}

// ---------------------------------------------------------------------------------------------

// The range of mode 1: the main history sets it, another history only widens it.
LevelAxisRange TKVTimeHistory::rangeFrom(double lowest, double highest, const LevelAxisRange& current) const
{
    const double low = std::trunc(lowest / 5.0) * 5.0;
    const double high = std::trunc(highest / 5.0) * 5.0 + 5.0;
    LevelAxisRange r = current;
    r.automatic = false;
    if (m_isMainChannel) {
        r.minimum = low;
        r.maximum = high;
    } else {
        r.minimum = std::min(r.minimum, low);
        r.maximum = std::max(r.maximum, high);
    }
    return r;
}

namespace {

// The main history keeps the level axis from reaching below the underrange level.
void clampToUnderrange(LevelAxisRange& r, int underrangeLevel, int margin)
{
    if (underrangeLevel > r.minimum) {
        if (r.maximum < underrangeLevel + margin)
            r.maximum = underrangeLevel + margin;
        r.minimum = underrangeLevel;
        r.automatic = false;
    }
}

} // namespace

LevelAxisRange TKVTimeHistory::scaleLevelAxis(const LevelAxisRange& current) const
{
    if (!m_hasChart || !m_seriesCreated)
        return current;
    LevelAxisRange r = current;
    switch (m_axisMode) {
    case 0:
        r = {true, m_series.minValue(), m_series.maxValue()};
        break;
    case 1:
        r = rangeFrom(m_series.minValue(), m_series.maxValue(), current);
        break;
    case 2:
        if (m_isMainChannel)
            r = {false, double(m_underrangeLevel), 144.9};
        break;
    default:
        break;
    }
    if (m_isMainChannel)
        clampToUnderrange(r, m_underrangeLevel, 10);
    return r;
}

LevelAxisRange TKVTimeHistory::scaleLevelAxisToCursors(const LevelAxisRange& current) const
{
    if (!m_hasChart || !m_seriesCreated || m_axisMode == 2)
        return current;
    LevelAxisRange r = rangeFrom(m_lowestBetween, m_highestBetween, current);
    if (m_isMainChannel)
        clampToUnderrange(r, m_underrangeLevel, 5);
    if (r.minimum > r.maximum) // no summary between the cursors
        r = {false, double(m_underrangeLevel), 145.0};
    return r;
}

int TKVTimeHistory::nearerCursor(double time) const
{
    return std::fabs(time - m_cursor1) >= std::fabs(time - m_cursor2) ? 2 : 1;
}

void TKVTimeHistory::placeUnplacedCursors(double firstVisible, double lastVisible)
{
    const double oneSecond = 1.0 / kSecondsPerDay;
    if (m_cursor1 == 0.0)
        m_cursor1 = firstVisible + oneSecond;
    if (m_cursor2 == 0.0)
        m_cursor2 = lastVisible - oneSecond;
}

} // namespace sonvex

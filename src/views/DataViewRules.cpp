#include "views/DataViewRules.h"

namespace sonvex {

namespace {

std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<int> firstItemNumber(const QString& line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return wholeNumber(tab < 0 ? line : line.left(tab));
}

} // namespace

namespace DataViewRules {

DataViewPanels panelsFor(const DataViewRecordFacts& f, const QString& noneText)
{
    DataViewPanels p;
    const QString none = noneText.toLower();
    p.channel1Energy = f.exchangeRate.contains(u'3') && f.timeWeighting.toLower().contains(none);
    p.channel2Energy = f.exchangeRate2 == QLatin1StringView("3") && f.timeWeighting2.toLower() == none;
    p.channelTabs = f.dual;
    if (f.is52A) {
        p.max115Time = true;
        p.max115Exceeded = false;
        p.peak = false;
    } else {
        p.max115Time = false;
        p.peak = !f.mk4;
        p.max115Exceeded = f.mk4;
    }
    p.lexCaption = QStringLiteral("Lex,") + f.critTime + QStringLiteral("h");
    return p;
}

std::optional<QString> downloadLineFor(const QStringList& lines, int headerIndex, int recordNumber,
                                       int readOrder)
{
    if (lines.isEmpty() || headerIndex < 0 || headerIndex >= lines.size())
        return std::nullopt;
    const qsizetype at = qsizetype(headerIndex) + recordNumber;
    if (recordNumber > 0 && at < lines.size() && firstItemNumber(lines.at(at)) == readOrder)
        return lines.at(at);
    // The lines are not in the table's order (or one is missing): find the record's own line.
    for (qsizetype i = headerIndex + 1; i < lines.size(); ++i) {
        if (firstItemNumber(lines.at(i)) == readOrder)
            return lines.at(i);
    }
    return std::nullopt;
}

} // namespace DataViewRules

namespace CriterionLevelRules {

std::optional<int> chosenLevel(const QString& text)
{
    const std::optional<int> v = wholeNumber(text);
    if (!v || *v < kLowest || *v > kHighest)
        return std::nullopt;
    return v;
}

EnterResult enter(const Box& in, int currentUserLevel)
{
    EnterResult r{in, false};
    Box& box = r.box;
    if (box.text.trimmed().isEmpty()) {
        const qsizetype at = box.items.indexOf(QString::number(currentUserLevel));
        if (at >= 0) {
            box.items.removeAt(at);
            box.text = box.items.value(0);
            box.currentIndex = box.items.isEmpty() ? -1 : 0;
        }
    }
    const std::optional<int> typed = wholeNumber(box.text);
    if (!typed)
        return {in.text.trimmed().isEmpty() ? box : in, false};
    const int v = *typed;
    if (v < kLowest && !box.items.isEmpty())
        box.text = box.items.constLast();
    else if (v > kTypedHighest && !box.items.isEmpty())
        box.text = box.items.constFirst();
    else if (!box.items.contains(box.text))
        box.text = QString::number(v); // " 095" enters the list as "95"
    qsizetype at = box.items.indexOf(box.text);
    if (at < 0) {
        at = box.items.size();
        for (qsizetype i = 0; i < box.items.size(); ++i) {
            const int entry = wholeNumber(box.items.at(i)).value_or(999);
            if (entry < v) {
                at = i;
                break;
            }
        }
        box.items.insert(at, box.text);
    }
    box.currentIndex = int(at);
    r.choose = true;
    return r;
}

} // namespace CriterionLevelRules
} // namespace sonvex

#pragma once

// The few decisions the measurement data view makes itself, as plain functions: which panels a
// record shows, which download line holds its time histories, and the rules of the criterion-level
// boxes. The widgets only apply them.

#include <QString>
#include <QStringList>

#include <optional>

namespace sonvex {

// The record's values the panel rules read.
struct DataViewRecordFacts
{
    QString exchangeRate;   // settingsExchangeRate
    QString timeWeighting;  // settingsTimeWeighting
    QString exchangeRate2;  // settingsExchangeRate2
    QString timeWeighting2; // settingsTimeWeighting2
    QString critTime;       // settingsCritTime
    bool dual = false;      // hasDualData
    bool is52A = false;     // is52AData
    bool mk4 = false;       // hasMK4Data
};

struct DataViewPanels
{
    bool channel1Energy = false; // energy panels; otherwise the exchange-rate panels
    bool channel2Energy = false;
    bool channelTabs = false; // the three channel tabs (dual-channel records)
    bool max115Time = false;
    bool max115Exceeded = false;
    bool peak = false;
    QString lexCaption; // "Lex," + criterion time + "h"
};

namespace DataViewRules {

// Energy panels for channel 1 when its exchange rate contains "3" and its time weighting,
// lower-cased, contains `noneText` lower-cased; for channel 2 when its exchange rate is "3" and
// its time weighting equals `noneText` (any case).
DataViewPanels panelsFor(const DataViewRecordFacts& facts, const QString& noneText);

// The download line of a record: line headerIndex + recordNumber (1-based) of the data-file
// lines, when that lies after the header and begins with the record's read order; otherwise the
// first line after the header that begins with it. Nothing when no line holds the record.
std::optional<QString> downloadLineFor(const QStringList& lines, int headerIndex, int recordNumber,
                                       int readOrder);

} // namespace DataViewRules

// The criterion-level boxes: an editable list of levels, one per channel on its own page and
// one per channel on the both-channels page (its twin).
namespace CriterionLevelRules {

struct Box
{
    QStringList items;
    QString text;
    int currentIndex = -1;
    friend bool operator==(const Box&, const Box&) = default;
};

constexpr int kLowest = 70;
constexpr int kHighest = 99;
constexpr int kTypedHighest = 100;

// The level a choice applies: the box text as a whole number from 70 to 99.
std::optional<int> chosenLevel(const QString& text);

struct EnterResult
{
    Box box;
    // The choose rule runs after the box (and its twin) took the result.
    bool choose = false;
};
// Enter in a box: an empty text removes the channel's current level from the list and shows the
// first entry; a level below 70 shows the list's last entry, one above 100 its first; a level not
// in the list is inserted before the first entry smaller than it (999 for an unreadable entry)
// or appended. A text that is no whole number changes nothing.
EnterResult enter(const Box& box, int currentUserLevel);

} // namespace CriterionLevelRules
} // namespace sonvex

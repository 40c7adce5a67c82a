#pragma once

// The two tables behind activities: the program-wide list of activity names
// with their colours (CDSActNames, kept in "ActivityNames.xml" in the documents
// folder) and the activities of the measurement shown (CDSActs, kept as an XML
// data packet in the record's ActivityXML memo).

#include "data/FieldDef.h"
#include "data/KVTimeHistory.h"

#include <QVector>

namespace sonvex {

class DataSet;

namespace ActivityTables {

// The activity names file, in the documents folder and beside the program.
inline constexpr char kActivityNamesFile[] = "ActivityNames.xml";

// Fields of the activity-name list, in table and packet order: ActNamesNumber
// (auto-increment key), ActNamesName, ActNamesColour, and the working fields
// Count, TotalDurationMins, TotalLAeq and HighestPeak that the totals fill.
QVector<FieldDef> actNamesFieldDefs();

// Fields of the activities of one measurement, in table and packet order, with
// their display labels and formats.
//
// DurationString holds "h:mm". It is five characters wide, so that activities
// of ten hours or more ("10:00") keep their text.
QVector<FieldDef> actsFieldDefs();

// Display labels in the current language again (after a change of language).
// Fields the table does not have are skipped.
void retranslate(DataSet& table);

// An empty activity-name list: the fields above, open, change logging off.
void createActNames(DataSet& table);

// Colours are stored as the data files hold them: one integer with red in the
// low byte, green in the next and blue in the third.
constexpr int colourValue(int red, int green, int blue)
{
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
constexpr int colourValue(ChartColour c)
{
    return colourValue(c.red, c.green, c.blue);
}
constexpr ChartColour colourOf(int value)
{
    return ChartColour{quint8(value & 0xFF), quint8(value >> 8 & 0xFF), quint8(value >> 16 & 0xFF)};
}

} // namespace ActivityTables
} // namespace sonvex

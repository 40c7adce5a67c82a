#pragma once

// The quick setups: named measurement setups for the Reader's badges, kept in
// the table CDSSetups and the file "RM50ASetups.xml". A setup holds no values
// but the positions of its choices in five fixed lists; the Reader is sent each
// position plus one.

#include "data/FieldDef.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace sonvex {

class DataSet;

namespace QuickSetupTable {

// The setups file, in the documents folder and (the setups that come with the
// program) beside the program.
inline constexpr char kSetupsFile[] = "RM50ASetups.xml";

// The row with this setupID is the free setup: choosing it leaves the values to
// the user.
inline constexpr int kFreeSetupId = 1;

// The five parameters, in the order of their Reader bytes.
enum class Parameter
{
    CriterionTime,
    CriterionLevel,
    Threshold,
    TimeWeighting,
    ExchangeRate
};
inline constexpr Parameter kParameters[] = {Parameter::CriterionTime, Parameter::CriterionLevel,
                                            Parameter::Threshold, Parameter::TimeWeighting,
                                            Parameter::ExchangeRate};

// Positions in the lists, position 0 first.
enum CriterionTimePosition
{
    CritTime8Hours = 0,
    CritTime12Hours = 1,
    CritTime16Hours = 2,
    CritTime18Hours = 3
};
enum CriterionLevelPosition
{
    CritLevel80dB = 0,
    CritLevel85dB = 1,
    CritLevel87dB = 2,
    CritLevel90dB = 3,
    CritLevel95dB = 4
};
enum ThresholdPosition
{
    ThresholdNone = 0,
    Threshold80dB = 1,
    Threshold85dB = 2,
    Threshold90dB = 3
};
enum TimeWeightingPosition
{
    WeightingNone = 0,
    WeightingSlow = 1
};
enum ExchangeRatePosition
{
    Exchange3dB = 0,
    Exchange4dB = 1,
    Exchange5dB = 2
};

// The table field holding the parameter's position ("critTime", "critLevel",
// "threshold", "timeWeighting", "exchange").
QString fieldName(Parameter p);
// The label of the parameter's box, in the current language.
QString label(Parameter p);
// The list's items in the current language, position 0 first.
QStringList items(Parameter p);
int itemCount(Parameter p);
// Address of the parameter's byte in the Reader's configuration memory.
int readerAddress(Parameter p);
// The byte the Reader is sent for a position.
constexpr int readerByte(int position)
{
    return position + 1;
}

// Fields of CDSSetups in their declared order: setupID (auto-increment, read
// only), name (50), critLevel, critTime, threshold, timeWeighting, exchange,
// userSetup, and the reserved spareInt1, spareInt2 and spareString (50).
QVector<FieldDef> fieldDefs();

// One setup as positions in the lists.
struct QuickSetup
{
    QString name;
    int critLevel = CritLevel85dB;
    int critTime = CritTime8Hours;
    int threshold = ThresholdNone;
    int timeWeighting = WeightingNone;
    int exchange = Exchange3dB;
    bool userSetup = false;

    int position(Parameter p) const;
    friend bool operator==(const QuickSetup&, const QuickSetup&) = default;
};

// The setups that come with the program, in file order: the free setup first,
// then the common regimes. None of them is a user setup.
const QVector<QuickSetup>& shippedSetups();

// An empty setups table: the fields above, open, change logging off.
void createTable(DataSet& table);
// Appends a setup as a new row (its setupID is the next free number) and posts it.
void appendSetup(DataSet& table, const QuickSetup& setup);
// The setup in a row of the table. A position that is null or not a number
// is -1: no choice.
QuickSetup setupAt(const DataSet& table, int row);

} // namespace QuickSetupTable
} // namespace sonvex

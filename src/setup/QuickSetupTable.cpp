#include "setup/QuickSetupTable.h"

#include "data/DataSet.h"

#include <QCoreApplication>

namespace sonvex::QuickSetupTable {

namespace {

struct ListEntry
{
    const char* field;
    const char* label;
    int address;
    QVector<const char*> items;
};

const ListEntry& listOf(Parameter p)
{
    static const ListEntry kLists[] = {
        {"critTime",
         QT_TRANSLATE_NOOP("QuickSetupTable", "Criterion Time"),
         0x51,
         {QT_TRANSLATE_NOOP("QuickSetupTable", "8 hours"), QT_TRANSLATE_NOOP("QuickSetupTable", "12 hours"),
          QT_TRANSLATE_NOOP("QuickSetupTable", "16 hours"),
          QT_TRANSLATE_NOOP("QuickSetupTable", "18 hours")}},
        {"critLevel",
         QT_TRANSLATE_NOOP("QuickSetupTable", "Criterion Level"),
         0x52,
         {QT_TRANSLATE_NOOP("QuickSetupTable", "80 dB"), QT_TRANSLATE_NOOP("QuickSetupTable", "85 dB"),
          QT_TRANSLATE_NOOP("QuickSetupTable", "87 dB"), QT_TRANSLATE_NOOP("QuickSetupTable", "90 dB"),
          QT_TRANSLATE_NOOP("QuickSetupTable", "95 dB")}},
        {"threshold",
         QT_TRANSLATE_NOOP("QuickSetupTable", "Threshold"),
         0x56,
         {QT_TRANSLATE_NOOP("QuickSetupTable", "None"), QT_TRANSLATE_NOOP("QuickSetupTable", "80 dB"),
          QT_TRANSLATE_NOOP("QuickSetupTable", "85 dB"), QT_TRANSLATE_NOOP("QuickSetupTable", "90 dB")}},
        {"timeWeighting",
         QT_TRANSLATE_NOOP("QuickSetupTable", "Time Weighting"),
         0x57,
         {QT_TRANSLATE_NOOP("QuickSetupTable", "None"), QT_TRANSLATE_NOOP("QuickSetupTable", "Slow")}},
        {"exchange",
         QT_TRANSLATE_NOOP("QuickSetupTable", "Exchange Rate (Q=)"),
         0x58,
         {QT_TRANSLATE_NOOP("QuickSetupTable", "3dB"), QT_TRANSLATE_NOOP("QuickSetupTable", "4dB"),
          QT_TRANSLATE_NOOP("QuickSetupTable", "5dB")}},
    };
    return kLists[int(p)];
}

QString tr(const char* text)
{
    return QCoreApplication::translate("QuickSetupTable", text);
}

// A stored position; -1 (no choice) when the field is null or not a number.
int positionValue(const QVariant& v)
{
    bool ok = false;
    const int n = v.isValid() ? v.toInt(&ok) : 0;
    return ok ? n : -1;
}

} // namespace

QString fieldName(Parameter p)
{
    return QLatin1String(listOf(p).field);
}

QString label(Parameter p)
{
    return tr(listOf(p).label);
}

QStringList items(Parameter p)
{
    QStringList out;
    for (const char* item : listOf(p).items)
        out << tr(item);
    return out;
}

int itemCount(Parameter p)
{
    return int(listOf(p).items.size());
}

int readerAddress(Parameter p)
{
    return listOf(p).address;
}

QVector<FieldDef> fieldDefs()
{
    using T = FieldType;
    FieldDef id = FieldDef::make(QStringLiteral("setupID"), T::AutoInc);
    id.readOnly = true;
    return {
        id,
        FieldDef::make(QStringLiteral("name"), T::String, 50),
        FieldDef::make(QStringLiteral("critLevel"), T::Int32),
        FieldDef::make(QStringLiteral("critTime"), T::Int32),
        FieldDef::make(QStringLiteral("threshold"), T::Int32),
        FieldDef::make(QStringLiteral("timeWeighting"), T::Int32),
        FieldDef::make(QStringLiteral("exchange"), T::Int32),
        FieldDef::make(QStringLiteral("userSetup"), T::Boolean),
        FieldDef::make(QStringLiteral("spareInt1"), T::Int32),
        FieldDef::make(QStringLiteral("spareInt2"), T::Int32),
        FieldDef::make(QStringLiteral("spareString"), T::String, 50),
    };
}

int QuickSetup::position(Parameter p) const
{
    switch (p) {
    case Parameter::CriterionTime:
        return critTime;
    case Parameter::CriterionLevel:
        return critLevel;
    case Parameter::Threshold:
        return threshold;
    case Parameter::TimeWeighting:
        return timeWeighting;
    case Parameter::ExchangeRate:
        return exchange;
    }
    return -1;
}

const QVector<QuickSetup>& shippedSetups()
{
    // The names are data of the setups file, as the user sees them in the list;
    // they stay in English whatever the language.
    static const QVector<QuickSetup> setups = {
        // The free setup: its values are only a starting point for the boxes.
        {QStringLiteral("Free setup: choose the values below"), CritLevel85dB, CritTime8Hours, ThresholdNone,
         WeightingNone, Exchange3dB, false},
        // European noise at work rules: LEX,8h against 85 dB, energy average, no threshold.
        {QStringLiteral("EU 2003/10/EC: 85 dB, 3 dB"), CritLevel85dB, CritTime8Hours, ThresholdNone,
         WeightingNone, Exchange3dB, false},
        // The US permissible exposure limit: 90 dB, 5 dB exchange, levels below 90 dB ignored.
        {QStringLiteral("OSHA PEL: 90 dB, 5 dB, threshold 90 dB"), CritLevel90dB, CritTime8Hours,
         Threshold90dB, WeightingSlow, Exchange5dB, false},
        // The US hearing conservation action level: as the limit, but counting from 80 dB.
        {QStringLiteral("OSHA Hearing Cons.: 90 dB, 5 dB, threshold 80 dB"), CritLevel90dB, CritTime8Hours,
         Threshold80dB, WeightingSlow, Exchange5dB, false},
        // The recommended limits: 85 dB with the 3 dB exchange rate, counting from 80 dB.
        {QStringLiteral("NIOSH / ACGIH: 85 dB, 3 dB, threshold 80 dB"), CritLevel85dB, CritTime8Hours,
         Threshold80dB, WeightingSlow, Exchange3dB, false},
    };
    return setups;
}

void createTable(DataSet& table)
{
    table.setFieldDefs(fieldDefs());
    table.createDataSet();
    table.setLogChanges(false);
}

void appendSetup(DataSet& table, const QuickSetup& setup)
{
    table.append();
    table.setValue(QStringLiteral("name"), setup.name);
    for (Parameter p : kParameters)
        table.setValue(fieldName(p), setup.position(p));
    table.setValue(QStringLiteral("userSetup"), setup.userSetup);
    table.post();
}

QuickSetup setupAt(const DataSet& table, int row)
{
    QuickSetup s;
    s.name = table.rowValue(row, QStringLiteral("name")).toString();
    s.critTime = positionValue(table.rowValue(row, fieldName(Parameter::CriterionTime)));
    s.critLevel = positionValue(table.rowValue(row, fieldName(Parameter::CriterionLevel)));
    s.threshold = positionValue(table.rowValue(row, fieldName(Parameter::Threshold)));
    s.timeWeighting = positionValue(table.rowValue(row, fieldName(Parameter::TimeWeighting)));
    s.exchange = positionValue(table.rowValue(row, fieldName(Parameter::ExchangeRate)));
    s.userSetup = table.rowValue(row, QStringLiteral("userSetup")).toBool();
    return s;
}

} // namespace sonvex::QuickSetupTable

#include "data/ActivityTables.h"

#include "data/DataSet.h"

#include <QCoreApplication>

namespace sonvex::ActivityTables {

namespace {

using T = FieldType;

struct FieldEntry
{
    const char* name;
    FieldType type;
    int size;
    const char* label; // empty: no display label
    const char* format;
    bool hidden;
};

const FieldEntry kActNames[] = {
    {"ActNamesNumber", T::AutoInc, 0, "", "", false},
    {"ActNamesName", T::String, 80, QT_TRANSLATE_NOOP("ActivityTables", "Activity Name"), "", false},
    {"ActNamesColour", T::Int32, 0, QT_TRANSLATE_NOOP("ActivityTables", "Colour"), "", false},
    {"Count", T::Int32, 0, "", "", false},
    {"TotalDurationMins", T::Int32, 0, "", "", false},
    {"TotalLAeq", T::Float, 0, "", "", false},
    {"HighestPeak", T::Float, 0, "", "", false},
};

const FieldEntry kActs[] = {
    {"ActNumber", T::AutoInc, 0, "", "", true},
    {"ActNameNumber", T::Int32, 0, "", "", true},
    {"GanttPos", T::Int32, 0, "", "", true},
    {"ActName", T::String, 80, QT_TRANSLATE_NOOP("ActivityTables", "Activity"), "", false},
    {"StartTime", T::DateTime, 0, QT_TRANSLATE_NOOP("ActivityTables", "Start Time"), "hh:mm", false},
    {"EndTime", T::DateTime, 0, QT_TRANSLATE_NOOP("ActivityTables", "End Time"), "hh:mm", true},
    {"DurationMins", T::Int32, 0, "", "", true},
    {"DurationString", T::String, 5, QT_TRANSLATE_NOOP("ActivityTables", "Duration hh:mm"), "", false},
    {"LAeq", T::Float, 0, QT_TRANSLATE_NOOP("ActivityTables", "LAeq dB"), "#.0", false},
    {"PeakCMax", T::Float, 0, QT_TRANSLATE_NOOP("ActivityTables", "PeakC dB"), "#.0", false},
    {"ActColor", T::Int32, 0, "", "", true},
    {"TotalDurationMins", T::Float, 0, "", "", true},
    {"TotalLAeq", T::Float, 0, QT_TRANSLATE_NOOP("ActivityTables", "Activity LAeq dB"), "#.0", false},
    {"TotalDurationString", T::String, 20, QT_TRANSLATE_NOOP("ActivityTables", "Activity Duration h:mm"), "",
     false},
    {"TotalPeakC", T::Float, 0, QT_TRANSLATE_NOOP("ActivityTables", "Activity PeakC dB"), "#.0", false},
};

QString translatedLabel(const FieldEntry& s)
{
    return s.label[0] ? QCoreApplication::translate("ActivityTables", s.label) : QString();
}

template <size_t N> QVector<FieldDef> defsOf(const FieldEntry (&entries)[N])
{
    QVector<FieldDef> out;
    out.reserve(qsizetype(N));
    for (const FieldEntry& s : entries) {
        FieldDef f = FieldDef::make(QLatin1String(s.name), s.type, s.size, translatedLabel(s));
        f.displayFormat = QLatin1String(s.format);
        f.visible = !s.hidden;
        f.readOnly = s.type == T::AutoInc;
        out.append(f);
    }
    return out;
}

template <size_t N> const FieldEntry* findEntry(const FieldEntry (&entries)[N], const QString& name)
{
    for (const FieldEntry& s : entries)
        if (name == QLatin1String(s.name))
            return &s;
    return nullptr;
}

} // namespace

QVector<FieldDef> actNamesFieldDefs()
{
    return defsOf(kActNames);
}

QVector<FieldDef> actsFieldDefs()
{
    return defsOf(kActs);
}

void retranslate(DataSet& table)
{
    // Both tables have TotalDurationMins and TotalLAeq, without labels in the
    // name list: the table is told apart by its key.
    const bool names = table.fieldIndex(QStringLiteral("ActNamesNumber")) >= 0;
    for (const FieldDef& f : table.fields()) {
        const FieldEntry* s = names ? findEntry(kActNames, f.name) : findEntry(kActs, f.name);
        if (s && s->label[0])
            table.setFieldDisplayLabel(f.name, translatedLabel(*s));
    }
}

void createActNames(DataSet& table)
{
    table.setFieldDefs(actNamesFieldDefs());
    table.createDataSet();
    table.setLogChanges(false);
}

} // namespace sonvex::ActivityTables

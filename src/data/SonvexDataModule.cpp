#include "data/SonvexDataModule.h"

#include "data/DataPacket.h"
#include "data/DisplayFormat.h"
#include "data/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace sonvex {

namespace {

constexpr bool H = true;  // hidden by default in grids
constexpr bool V = false; // shown

struct Spec
{
    const char* name;
    FieldType type;
    int size;
    const char* label;
    const char* format;
    int precision;
    int tag;
    bool hidden;
};

using T = FieldType;

// Stored fields of a badge measurement, in table and data packet order.
const Spec kMeasStored[] = {
    {"read_order", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "Read Order"), "", 15, 0, V},
    {"badge", T::String, 50, QT_TRANSLATE_NOOP("Tdm", "noxTag"), "", 15, 1, V},
    {"exp", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Exposure Pa2h"), "#0.0", 2, 0, V},
    {"est_exp", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Est.Exposure Pa2h"), "#0.0", 2, 0, V},
    {"peak", T::Boolean, 0, QT_TRANSLATE_NOOP("Tdm", "Peak Exceeded?"), "", 15, 0, V},
    {"overload", T::Boolean, 0, QT_TRANSLATE_NOOP("Tdm", "Overload"), "", 15, 9, V},
    {"lowbatt", T::Boolean, 0, QT_TRANSLATE_NOOP("Tdm", "Low Battery"), "", 15, 10, V},
    {"ResetTime", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Reset Time"), "", 15, 0, V},
    {"RunTime", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Run Duration"), "", 15, 4, V},
    {"MeasTime", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Meas.Date Time"), "", 15, 0, V},
    {"ReaderRecal", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Reader Recal Due"), "", 15, 0, V},
    {"BadgeRecal", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Badge Recal Due"), "", 15, 0, V},
    {"Cal1Time", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "First Cal.Time"), "", 15, 0, V},
    {"Cal2Time", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Last Cal Time"), "", 15, 0, V},
    {"reader", T::String, 50, QT_TRANSLATE_NOOP("Tdm", "Reader"), "", 15, 0, V},
    {"cal1_offset", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "First Cal.Offset dB"), "#0.0", 2, 0, V},
    {"cal2_offset", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Last Cal.Offset dB"), "#0.0", 2, 0, V},
    {"hasTimeHistory", T::Boolean, 0, QT_TRANSLATE_NOOP("Tdm", "Has Time History"), "", 15, 0, H},
    {"settings", T::String, 40, QT_TRANSLATE_NOOP("Tdm", "Settings"), "", 15, 0, H},
    {"MeasDate", T::Date, 0, QT_TRANSLATE_NOOP("Tdm", "Meas.Date"), "", 15, 2, V},
    {"MeasTimeTime", T::Time, 0, QT_TRANSLATE_NOOP("Tdm", "Meas.Time"), "", 15, 3, V},
    {"max115Exceeded", T::Boolean, 0, QT_TRANSLATE_NOOP("Tdm", "115dB LAFMax Exceeded"), "", 15, 0, V},
    {"dataCheck", T::String, 30, QT_TRANSLATE_NOOP("Tdm", "Data Check Diagnostics"), "", 15, 0, H},
    {"hasMK4Data", T::Boolean, 0, QT_TRANSLATE_NOOP("Tdm", "MK4"), "", 15, 0, H},
    {"notes", T::String, 255, QT_TRANSLATE_NOOP("Tdm", "Notes"), "", 15, 11, V},
    {"dose", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Dose % (from Leq)"), "", 15, 0, H},
    {"leq", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "_LAeq dBA"), "#0.0", 2, 0, H},
    {"est_dose", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Est.Dose % (from Leq)"), "", 2, 0, H},
    {"sel", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "_LAE dBA"), "#0.0", 2, 0, H},
    {"lepd", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "_Lex dBA"), "#0.0", 2, 0, H},
    {"lavg", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "_Lavg dBA"), "#0.0", 2, 0, H},
    {"twa", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "_TWA dBA"), "#0.0", 2, 0, H},
    {"est_dose5", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Est.Dose % (from TWA)"), "", 2, 0, H},
    {"dose5", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Dose % (from TWA)"), "", 2, 0, H},
    {"peak_level", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "_Peak Level dBC"), "#0.0", 5, 0, H},
    {"ValidationFailureDetails", T::Memo, 0, "", "", 15, 0, H},
    {"cursor1Time", T::DateTime, 0, "", "", 15, 0, H},
    {"cursor2Time", T::DateTime, 0, "", "", 15, 0, H},
    {"betweenCursorsVal", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Between Cursors"), "#.0", 2, 0, H},
    {"outsideCursorsVal", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Outside Cursors"), "#.0", 2, 0, H},
    {"cursor1TimeString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Cursor 1 Time"), "", 15, 0, V},
    {"cursor2TimeString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Cursor 2 Time"), "", 15, 0, V},
    {"betweenCursorsString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Between Cursors dB(A)"), "", 15, 0, V},
    {"outsideCursorsString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Outside Cursors dB(A)"), "", 15, 0, V},
    {"cursor1ValString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Cursor 1 dB(A)"), "", 15, 0, V},
    {"cursor2ValString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Cursor 2 dB(A)"), "", 15, 0, V},
    {"betweenCursorsDurationString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Duration Between Cursors"), "", 15,
     0, V},
    {"outsideCursorsDurationString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Duration Outside Cursors"), "", 15,
     0, V},
    {"leq2", T::Float, 0, "", "#0.0", 2, 0, H},
    {"sel2", T::Float, 0, "", "#0.0", 2, 0, H},
    {"lepd2", T::Float, 0, "", "#0.0", 2, 0, H},
    {"dose2", T::Float, 0, "", "", 2, 0, H},
    {"est_dose2", T::Float, 0, "", "", 2, 0, H},
    {"exp2", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Ch2 Exposure Pa2h"), "#0.0", 2, 0, H},
    {"est_Exp2", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Ch2 Est.Exposure Pa2h"), "#0.0", 2, 0, H},
    {"hasDualData", T::Boolean, 0, QT_TRANSLATE_NOOP("Tdm", "Dual Channel"), "", 15, 0, H},
    {"badgeFirmware", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Firmware"), "", 15, 0, H},
    {"TimeHistoryCh1", T::String, 20000, QT_TRANSLATE_NOOP("Tdm", "Time History Channel 1"), "", 15, 0, H},
    {"TimeHistoryPeak", T::String, 20000, QT_TRANSLATE_NOOP("Tdm", "Time History Peak"), "", 15, 0, H},
    {"TimeHistoryCh2", T::String, 20000, "", "", 15, 0, H},
    {"exposureDuration", T::String, 20, "", "", 15, 0, H},
    {"peak135", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "Num.Peaks 135 to 137dB"), "", 15, 0, V},
    {"peak137", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "Num.Peaks above 137dB"), "", 15, 0, V},
    {"peak140", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "Num.Peaks above 140dB"), "", 15, 0, H},
    {"settings2", T::String, 40, "", "", 15, 0, H},
    {"is52AData", T::Boolean, 0, "", "", 15, 0, H},
    {"lavg2", T::Float, 0, "", "#0.0", 15, 0, H},
    {"twa2", T::Float, 0, "", "#0.0", 15, 0, H},
    {"dose52", T::Float, 0, "", "", 15, 0, H},
    {"est_dose52", T::Float, 0, "", "", 15, 0, H},
    {"max115Time", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "117dB LASMax time s"), "", 15, 0, V},
    {"peakWtg", T::String, 6, QT_TRANSLATE_NOOP("Tdm", "Peak Weighting"), "", 15, 0, H},
    {"ActivityXML", T::Memo, 0, "", "", 15, 0, H},
};

// Calculated fields: texts of 20 characters unless stated.
const Spec kMeasCalculated[] = {
    {"doseString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Dose % (from Leq)"), "", 15, 5, V},
    {"leqString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "LAeq dB"), "", 15, 6, V},
    {"selString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "LAE dB"), "", 15, 0, V},
    {"est_doseString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Est.Dose % (from Leq)"), "", 15, 0, V},
    {"lepdString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Lex dB"), "", 15, 7, V},
    {"lavgString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Lavg dB(A)"), "", 15, 0, V},
    {"twaString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "TWA dB(A)"), "", 15, 0, V},
    {"dose5String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Dose % (from TWA)"), "", 15, 0, V},
    {"est_dose5String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Est.Dose % (from TWA)"), "", 15, 0, V},
    {"peakString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Peak Level"), "", 15, 8, V},
    {"settingsCritLevel", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Criterion Level dB"), "", 15, 0, V},
    {"settingsCritTime", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Criterion Time h"), "", 15, 0, V},
    {"settingsThreshold", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Threshold dB"), "", 15, 0, V},
    {"settingsExchangeRate", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Exchange Rate dB"), "", 15, 0, V},
    {"settingsTimeWeighting", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Time Weighting"), "", 15, 0, V},
    {"leq2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch.2 LAeq dB"), "", 15, 0, V},
    {"sel2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch2 LAE dB"), "", 15, 0, V},
    {"lepd2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch2 Lex dB"), "", 15, 0, V},
    {"dose2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch2 Dose % (from Leq)"), "", 15, 0, V},
    {"est_dose2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch2 Est.Dose % (from Leq)"), "", 15, 0, V},
    {"exp2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch2 Exposure Pa2h"), "", 15, 0, V},
    {"est_exp2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch2 Est.Exposure Pa2h"), "", 15, 0, V},
    {"resultantLex8", T::String, 15, "", "", 15, 0, H},
    {"settingsCritLevel2", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Criterion Level Ch2 dB"), "", 15, 0, V},
    {"settingsCritTime2", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Criterion Time Ch2 h"), "", 15, 0, V},
    {"settingsThreshold2", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Threshold Ch2 dB"), "", 15, 0, V},
    {"settingsExchangeRate2", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Exchange Rate Ch2 dB"), "", 15, 0, V},
    {"settingsTimeWeighting2", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Time Weighting Ch2"), "", 15, 0, V},
    {"lavg2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch.2 Lavg dB(A)"), "", 15, 0, V},
    {"twa2String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch.2 TWA dB(A)"), "", 15, 0, V},
    {"dose52String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch.2 Dose % (from TWA)"), "", 15, 0, V},
    {"est_dose52String", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Ch.2 Est.Dose % (from TWA)"), "", 15, 0, V},
};

// Sound level meter measurements, in data packet order.
const Spec kSlm[] = {
    {"index", T::AutoInc, 0, "", "", 15, 0, H},
    {"eventNumber", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "Event No."), "", 15, 1, V},
    {"instType", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Instrument Type"), "", 15, 0, V},
    {"serial", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Serial No."), "", 15, 0, V},
    {"recal", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Recal.Due Date"), "", 15, 0, V},
    {"resetDateString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Reset Date"), "", 15, 0, V},
    {"resetTimeString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Reset Time"), "", 15, 0, V},
    {"startTimeString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Start Time"), "", 15, 2, V},
    {"startDate", T::Date, 0, QT_TRANSLATE_NOOP("Tdm", "Start Date"), "", 15, 0, H},
    {"runDurationSeconds", T::Int64, 0, QT_TRANSLATE_NOOP("Tdm", "Run Duration s"), "", 15, 0, H},
    {"runDurationString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Run Duration"), "", 15, 3, V},
    {"Peak", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Peak dBC"), "#0.0", 15, 0, V},
    {"Max", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "LAMax dBA"), "#0.0", 15, 0, V},
    {"Min", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "LAMin dBA"), "#0.0", 15, 0, V},
    {"dose1", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Dose % ch1"), "#0.0", 15, 0, V},
    {"dose2", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Dose % ch2"), "#0.0", 15, 6, V},
    {"dose3", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Dose % ch3"), "#0.0", 15, 0, V},
    {"estDose1", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Est.Dose % ch1"), "#0.0", 15, 7, V},
    {"estDose2", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Est.Dose % ch2"), "#0.0", 15, 0, V},
    {"estDose3", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Est.Dose % ch3"), "#0.0", 15, 0, V},
    {"leq1", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "LAeq dBA ch1"), "#0.0", 15, 4, V},
    {"leq2", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "LAeq dBA ch2"), "#0.0", 15, 0, V},
    {"leq3", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "LAeq dBA ch3"), "#0.0", 15, 0, V},
    {"twa1", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "TWA dBA ch1"), "#0.0", 15, 5, V},
    {"twa2", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "TWA dBA ch2"), "#0.0", 15, 0, V},
    {"twa3", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "TWA dBA ch3"), "#0.0", 15, 0, V},
    {"int1TimeConst", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "ch1 Time Constant"), "", 15, 0, V},
    {"int2TimeConst", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "ch2 Time Constant"), "", 15, 0, V},
    {"int3TimeConst", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "ch3 Time Constant"), "", 15, 0, V},
    {"int1Exchange", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "ch1 Exchange Rate"), "", 15, 0, V},
    {"int2Exchange", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "ch2 Exchange Rate"), "", 15, 0, V},
    {"int3Exchange", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "ch3 Exchange Rate"), "", 15, 0, V},
    {"int1CritLevel", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "ch1 Criterion Level"), "", 15, 0, V},
    {"int2CritLevel", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "ch2 Criterion Level"), "", 15, 0, V},
    {"int3CritLevel", T::Int32, 0, QT_TRANSLATE_NOOP("Tdm", "ch3 Criterion Level"), "", 15, 0, V},
    {"int1CritTime", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "ch1 Criterion Time"), "", 15, 0, V},
    {"int2CritTime", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "ch2 Criterion Time"), "", 15, 0, V},
    {"int3CritTime", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "ch3 Criterion Time"), "", 15, 0, V},
    {"int1Threshold", T::String, 20, "", "", 15, 0, V},
    {"int2Threshold", T::String, 20, "", "", 15, 0, V},
    {"int3Threshold", T::String, 20, "", "", 15, 0, V},
    {"notes", T::String, 1000, QT_TRANSLATE_NOOP("Tdm", "Notes"), "", 15, 0, V},
    {"cal1Offset", T::Float, 0, "", "#0.0", 15, 0, V},
    {"cal1Time", T::String, 20, "", "", 15, 0, V},
    {"cal2Drift", T::Float, 0, "", "#0.0", 15, 0, V},
    {"TimeHistory", T::String, 5000, QT_TRANSLATE_NOOP("Tdm", "Time History"), "", 15, 0, H},
    {"cal2Time", T::String, 20, "", "", 15, 0, V},
    {"outsideCursorsDurationString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Duration Outside Cursors"), "", 15,
     0, H},
    {"betweenCursorsDurationString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Duration Between Cursors"), "", 15,
     0, H},
    {"cursor2ValString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Cursor 2 dBA"), "", 15, 0, H},
    {"cursor1ValString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Cursor 1 dBA"), "", 15, 0, H},
    {"outsideCursorsString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Outside Cursors dBA"), "", 15, 0, H},
    {"betweenCursorsString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Between Cursors dBA"), "", 15, 0, H},
    {"cursor2TimeString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Cursor 2 Time"), "", 15, 0, H},
    {"cursor1TimeString", T::String, 20, QT_TRANSLATE_NOOP("Tdm", "Cursor 1 Time"), "", 15, 0, H},
    {"outsideCursorsVal", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Outside Cursors"), "#.0", 2, 0, H},
    {"betweenCursorsVal", T::Float, 0, QT_TRANSLATE_NOOP("Tdm", "Between Cursors"), "#.0", 2, 0, H},
    {"cursor2Time", T::DateTime, 0, "", "", 15, 0, H},
    {"cursor1Time", T::DateTime, 0, "", "", 15, 0, H},
};

FieldDef fromSpec(const Spec& s, bool calculated)
{
    FieldDef f;
    f.name = QLatin1String(s.name);
    f.type = s.type;
    f.size = s.size;
    f.displayLabel = s.label[0] ? QCoreApplication::translate("Tdm", s.label) : QString();
    f.displayFormat = QLatin1String(s.format);
    f.precision = s.precision;
    f.tag = s.tag;
    f.visible = !s.hidden;
    f.calculated = calculated;
    return f;
}

template <size_t N> void appendSpecs(QVector<FieldDef>& out, const Spec (&specs)[N], bool calculated)
{
    for (const Spec& s : specs)
        out.append(fromSpec(s, calculated));
}

const Spec* findSpec(const QString& name, bool slm)
{
    if (slm) {
        for (const Spec& s : kSlm)
            if (name == QLatin1String(s.name))
                return &s;
        return nullptr;
    }
    for (const Spec& s : kMeasStored)
        if (name == QLatin1String(s.name))
            return &s;
    for (const Spec& s : kMeasCalculated)
        if (name == QLatin1String(s.name))
            return &s;
    return nullptr;
}

QStringList listFromText(const QString& text)
{
    QStringList out;
    for (const QString& l : text.split(u'\n')) {
        const QString t = l.trimmed();
        if (!t.isEmpty())
            out.append(t);
    }
    return out;
}

QString textFromList(const QStringList& l)
{
    QString out;
    for (const QString& s : l)
        out += s + QLatin1Char('\n');
    return out;
}

} // namespace

QVector<FieldDef> Tdm::measFieldDefs()
{
    QVector<FieldDef> out;
    appendSpecs(out, kMeasStored, false);
    appendSpecs(out, kMeasCalculated, true);
    for (FieldDef& f : out)
        if (f.name.startsWith(QLatin1String("settings")) && f.calculated)
            f.displayWidth = 8;
    return out;
}

QVector<FieldDef> Tdm::slmFieldDefs()
{
    QVector<FieldDef> out;
    appendSpecs(out, kSlm, false);
    for (FieldDef& f : out)
        if (f.name == QLatin1String("notes"))
            f.displayWidth = 30;
    return out;
}

Tdm::Tdm(QObject* parent)
    : QObject(parent), m_meas(QStringLiteral("CDSMeas")), m_slm(QStringLiteral("CDSSLMMeas")),
      m_locale(DisplayFormat::locale())
{
    m_meas.setFieldDefs(measFieldDefs());
    m_meas.setIndexFieldName(QStringLiteral("read_order"));
    m_meas.setCalcFieldsHandler([this](RecordView& r) { calcFields(r); });
    m_slm.setFieldDefs(slmFieldDefs());
    const TableSettings defaults;
    m_list1 = listFromText(defaults.userCritLevelList);
    m_list2 = listFromText(defaults.userCritLevelList2);
    m_peakLabel = m_meas.findField(QStringLiteral("peakString"))->label();
    ApplyYesNoTexts();
}

Tdm::~Tdm() = default;

void Tdm::calcFields(RecordView& r) const
{
    MeasCalc::calculate(r, m_user1, m_user2, QCoreApplication::translate("Tdm", "None"), m_locale);
}

void Tdm::createMeasTable()
{
    m_meas.createDataSet();
}

void Tdm::createSLMTable()
{
    m_slm.createDataSet();
}

void Tdm::LoadTableSettings(const TableSettings& s)
{
    for (auto it = s.columnOrder.cbegin(); it != s.columnOrder.cend(); ++it)
        m_meas.setFieldTag(it.key(), it.value());
    for (auto it = s.columnOrderSLM.cbegin(); it != s.columnOrderSLM.cend(); ++it)
        m_slm.setFieldTag(it.key(), it.value());
    m_user1 = {s.userCritLevel, s.useUserCritLevel};
    m_user2 = {s.userCritLevel2, s.useUserCritLevel2};
    m_list1 = listFromText(s.userCritLevelList);
    m_list2 = listFromText(s.userCritLevelList2);
    m_meas.refreshCalculated();
}

TableSettings Tdm::SaveTableSettings() const
{
    TableSettings s;
    for (const FieldDef& f : m_meas.fields())
        s.columnOrder.insert(f.name, f.tag);
    for (const FieldDef& f : m_slm.fields())
        s.columnOrderSLM.insert(f.name, f.tag);
    s.userCritLevel = m_user1.level;
    s.useUserCritLevel = m_user1.use;
    s.userCritLevel2 = m_user2.level;
    s.useUserCritLevel2 = m_user2.use;
    s.userCritLevelList = textFromList(m_list1);
    s.userCritLevelList2 = textFromList(m_list2);
    return s;
}

void Tdm::LoadTableSettings(const SettingsStore& store)
{
    const TableSettings now = SaveTableSettings();
    TableSettings s;
    s.columnOrder = store.columnOrder(SettingsStore::Table::Measurements, now.columnOrder);
    s.columnOrderSLM = store.columnOrder(SettingsStore::Table::SlmMeasurements, now.columnOrderSLM);
    s.userCritLevel = store.userCritLevel(1);
    s.userCritLevel2 = store.userCritLevel(2);
    s.userCritLevelList = store.userCritLevelList(1);
    s.userCritLevelList2 = store.userCritLevelList(2);
    s.useUserCritLevel = store.useUserCritLevel(1);
    s.useUserCritLevel2 = store.useUserCritLevel(2);
    LoadTableSettings(s);
}

void Tdm::SaveTableSettings(SettingsStore& store) const
{
    const TableSettings s = SaveTableSettings();
    store.setColumnOrder(SettingsStore::Table::Measurements, s.columnOrder);
    store.setColumnOrder(SettingsStore::Table::SlmMeasurements, s.columnOrderSLM);
    store.setUserCritLevel(1, s.userCritLevel);
    store.setUserCritLevel(2, s.userCritLevel2);
    store.setUserCritLevelList(1, s.userCritLevelList);
    store.setUserCritLevelList(2, s.userCritLevelList2);
    store.setUseUserCritLevel(1, s.useUserCritLevel);
    store.setUseUserCritLevel(2, s.useUserCritLevel2);
}

bool Tdm::saveWorkingTable(const QString& documentsFolder, QString* error)
{
    if (!m_meas.isActive())
        return true;
    if (m_meas.state() != DataSet::State::Browse)
        m_meas.post();
    const QString path = QDir(documentsFolder).filePath(QStringLiteral("temp.dat"));
    m_meas.setFileName(path);
    if (m_meas.changeCount() == 0)
        return true;
    if (!m_meas.saveToFile(path, error))
        return false;
    m_meas.mergeChangeLog();
    return true;
}

namespace {
// Reads and parses a data packet file; the reason when it cannot.
QString readPacketFile(const QString& path, DataPacket::Content* content)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return f.errorString();
    QString why;
    DataPacket::parse(f.readAll(), content, &why);
    return why;
}
} // namespace

bool Tdm::LoadXmlMeasurements(const QString& path, const QString& documentsFolder, QString* error)
{
    const QString message = QCoreApplication::translate(
        "Tdm", "The .xml datafile could not be opened: it may have an incorrect format or may be corrupted.");
    DataPacket::Content content;
    QString why = readPacketFile(path, &content);
    if (why.isEmpty()) {
        bool hasOrder = false, hasBadge = false;
        for (const FieldDef& fd : std::as_const(content.fields)) {
            hasOrder = hasOrder || fd.name == QLatin1String("read_order");
            hasBadge = hasBadge || fd.name == QLatin1String("badge");
        }
        if (!hasOrder || !hasBadge)
            why = QCoreApplication::translate("Tdm", "the packet holds no noxTag measurements");
    }
    if (!why.isEmpty()) {
        if (error)
            *error = message + QLatin1Char('\n') + QDir::toNativeSeparators(path) + QStringLiteral(": ") + why;
        return false;
    }
    m_meas.disableControls();
    saveWorkingTable(documentsFolder);
    if (!m_meas.isActive())
        m_meas.createDataSet();
    DataPacket::apply(m_meas, std::move(content));
    m_meas.mergeChangeLog();
    m_meas.setFileName(QDir(documentsFolder).filePath(QStringLiteral("temp.dat")));
    m_meas.enableControls();
    return true;
}

bool Tdm::LoadSLMFile(const QString& path, QString* error)
{
    const QString message =
        QCoreApplication::translate("Tdm", "The datafile could not be opened: it may be corrupted.");
    DataPacket::Content content;
    const QString why = readPacketFile(path, &content);
    if (!why.isEmpty()) {
        if (error)
            *error = message + QLatin1Char('\n') + QDir::toNativeSeparators(path) + QStringLiteral(": ") + why;
        return false;
    }
    m_slm.disableControls();
    if (!m_slm.isActive())
        m_slm.createDataSet();
    DataPacket::apply(m_slm, std::move(content));
    m_slm.mergeChangeLog();
    m_slm.enableControls();
    return true;
}

void Tdm::ApplyYesNoTexts()
{
    const QStringList yesNo = QCoreApplication::translate("Tdm", "Yes;No").split(u';');
    const QString yes = yesNo.value(0), no = yesNo.value(1);
    for (const char* name : {"overload", "peak", "lowbatt", "hasTimeHistory", "hasMK4Data", "max115Exceeded"})
        m_meas.setBooleanTexts(QLatin1String(name), yes, no);
}

void Tdm::retranslate()
{
    for (const FieldDef& f : m_meas.fields())
        if (const Spec* s = findSpec(f.name, false); s && s->label[0])
            m_meas.setFieldDisplayLabel(f.name, QCoreApplication::translate("Tdm", s->label));
    for (const FieldDef& f : m_slm.fields())
        if (const Spec* s = findSpec(f.name, true); s && s->label[0])
            m_slm.setFieldDisplayLabel(f.name, QCoreApplication::translate("Tdm", s->label));
    ApplyYesNoTexts();
    m_meas.refreshCalculated();
}

void Tdm::setUserCritLevel(int level)
{
    m_user1.level = level;
    m_meas.refreshCalculated();
}

void Tdm::setUserCritLevel2(int level)
{
    m_user2.level = level;
    m_meas.refreshCalculated();
}

void Tdm::setUseUserCritLevel(bool on)
{
    m_user1.use = on;
    m_meas.refreshCalculated();
}

void Tdm::setUseUserCritLevel2(bool on)
{
    m_user2.use = on;
    m_meas.refreshCalculated();
}

void Tdm::setDisplayLocale(const QLocale& l)
{
    m_locale = l;
    m_meas.refreshCalculated();
}

} // namespace sonvex

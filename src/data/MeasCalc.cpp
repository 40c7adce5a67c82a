#include "data/MeasCalc.h"

#include "data/DataSet.h"
#include "data/DisplayFormat.h"

#include <cmath>

namespace sonvex::MeasCalc {

namespace {

// Trim as the settings texts need it: blanks and control characters at both ends.
QString trimmed(const QString& s)
{
    qsizetype a = 0, b = s.size();
    while (a < b && s.at(a).unicode() <= 32)
        ++a;
    while (b > a && s.at(b - 1).unicode() <= 32)
        --b;
    return s.mid(a, b - a);
}

// Keep the text after the first occurrence of `x`; the whole text when absent.
QString cutAfter(const QString& s, const QString& x)
{
    const qsizetype p = s.indexOf(x);
    return p < 0 ? s : s.mid(p + x.size());
}

// The text before the first ":"; empty when there is none.
QString upToColon(const QString& s)
{
    const qsizetype p = s.indexOf(u':');
    return p < 0 ? QString() : s.left(p);
}

int toIntDef(const QString& s, int def)
{
    bool ok = false;
    const int v = trimmed(s).toInt(&ok);
    return ok ? v : def;
}

// Steps shared by both channels: criterion level, criterion time, threshold.
QString commonSteps(const QString& text, ChannelSettings& out, const QString& noneText)
{
    out.critLevel = upToColon(text);
    QString s = cutAfter(text, QStringLiteral(":"));
    out.critSeconds = toIntDef(upToColon(s), 0);
    out.critTime = QString::number(out.critSeconds / 3600);
    s = cutAfter(s, QStringLiteral(":"));
    out.threshold = trimmed(upToColon(s));
    if (out.threshold == QLatin1String("00"))
        out.threshold = noneText;
    return s;
}

QString noneIfNone(const QString& s, const QString& noneText)
{
    return s.toLower() == QLatin1String("none") ? noneText : s;
}

} // namespace

bool isOverRange(double v)
{
    return v >= 9.99e37;
}

double EstimatedDose(const QString& exchangeRate, int criterionLevel, double level)
{
    double q = 10.0;
    if (exchangeRate == QLatin1String("4"))
        q = 13.28771;
    else if (exchangeRate == QLatin1String("5"))
        q = 16.60964;
    const double r = 100.0 * std::pow(10.0, (level - criterionLevel) / q);
    return std::isfinite(r) ? r : 0.0;
}

qint64 runTimeSeconds(const QString& t)
{
    const auto part = [&t](int from, int len) -> qint64 {
        bool ok = false;
        const qint64 v = t.mid(from, len).toLongLong(&ok);
        return ok ? v : 0;
    };
    if (t.indexOf(u':') == 2)
        return part(0, 2) * 3600 + part(3, 2) * 60 + part(6, 2);
    return part(0, 3) * 3600 + part(4, 2) * 60 + part(7, 2);
}

ChannelSettings parseSettings(const QString& text, const QString& noneText)
{
    ChannelSettings out;
    QString s = commonSteps(text, out, noneText);
    s = trimmed(cutAfter(s, QStringLiteral(":")));
    if (!s.contains(QLatin1String("3:")) && !s.contains(QLatin1String("5:"))) {
        s = trimmed(cutAfter(s, QStringLiteral(":")));
        out.exchangeRate = s.left(1);
        if (s.contains(QLatin1String("ISO")))
            out.exchangeRate = QStringLiteral("3");
        if (s.contains(QLatin1String("OSHA")))
            out.exchangeRate = QStringLiteral("5");
    } else {
        if (s.contains(QLatin1String("3:")))
            out.exchangeRate = QStringLiteral("3");
        if (s.contains(QLatin1String("5:")))
            out.exchangeRate = QStringLiteral("5");
        s = trimmed(cutAfter(s, QStringLiteral(":")));
    }
    s = trimmed(cutAfter(s, QStringLiteral(" ")));
    s = trimmed(cutAfter(s, QStringLiteral(" ")));
    s.remove(u'(');
    s.remove(u')');
    out.timeWeighting = noneIfNone(s, noneText);
    return out;
}

ChannelSettings parseSettings2(const QString& text, const QString& noneText)
{
    ChannelSettings out;
    QString s = commonSteps(text, out, noneText);
    s = trimmed(cutAfter(s, QStringLiteral(":")));
    s = trimmed(cutAfter(s, QStringLiteral(":")));
    out.exchangeRate = s.left(1);
    s = trimmed(cutAfter(s, QStringLiteral(" ")));
    s = trimmed(cutAfter(s, QStringLiteral(" ")));
    out.timeWeighting = noneIfNone(s, noneText);
    return out;
}

QString levelText(double v, const QLocale& loc)
{
    const QString s = DisplayFormat::fixed(v, 1, loc);
    if (s == QLatin1String("0.0") || s == QStringLiteral("0") + loc.decimalPoint() + QStringLiteral("0"))
        return QStringLiteral("---");
    return s;
}

namespace {

struct DoseFields
{
    const char* dose;
    const char* estDose;
    const char* doseString;
    const char* estDoseString;
    const char* level;
};

struct ChannelContext
{
    ChannelSettings settings;
    UserCriterion user;
    int criterion() const { return user.use ? user.level : toIntDef(settings.critLevel, 0); }
};

// The estimated dose from the level, and the dose scaled by run time over criterion
// time. A criterion time of 0 s cannot scale: the dose text is left as it was.
void doseFromLevel(RecordView& r, const DoseFields& f, const ChannelContext& ch, int criterion, qint64 runSeconds,
                   const QLocale& loc)
{
    const double e = EstimatedDose(ch.settings.exchangeRate, criterion, r.number(QLatin1String(f.level)));
    r.setValue(QLatin1String(f.estDoseString), DisplayFormat::fixed(e, 0, loc));
    if (ch.settings.critSeconds > 0)
        r.setValue(QLatin1String(f.doseString),
                   DisplayFormat::fixed(double(runSeconds) / double(ch.settings.critSeconds) * e, 0, loc));
}

void doseTexts(RecordView& r, const DoseFields& f, const ChannelContext& ch, qint64 runSeconds, const QLocale& loc)
{
    const QVariant dose = r.value(QLatin1String(f.dose));
    const QVariant est = r.value(QLatin1String(f.estDose));
    if (!dose.isValid())
        r.setValue(QLatin1String(f.doseString), QString());
    else if (isOverRange(dose.toDouble()))
        r.setValue(QLatin1String(f.doseString), QStringLiteral("+++"));
    else
        r.setValue(QLatin1String(f.doseString), DisplayFormat::general(dose.toDouble(), 15, loc));

    if (est.isValid() && isOverRange(est.toDouble())) {
        r.setValue(QLatin1String(f.estDoseString), QStringLiteral("+++"));
        if (r.number(QLatin1String(f.level)) > 0)
            doseFromLevel(r, f, ch, ch.criterion(), runSeconds, loc);
    } else {
        r.setValue(QLatin1String(f.estDoseString),
                   est.isValid() ? DisplayFormat::general(est.toDouble(), 15, loc) : QString());
    }
}

void userCriterion(RecordView& r, const DoseFields& leqF, const DoseFields& twaF, const ChannelContext& ch,
                   const char* critLevelField, qint64 runSeconds, const QLocale& loc)
{
    if (!ch.user.use || ch.user.level == toIntDef(ch.settings.critLevel, 0))
        return;
    for (const DoseFields* f : {&leqF, &twaF}) {
        if (r.number(QLatin1String(f->level)) > 0) {
            // Without a criterion time the scaled dose has no meaning here.
            r.setValue(QLatin1String(f->doseString), QString());
            doseFromLevel(r, *f, ch, ch.user.level, runSeconds, loc);
        } else {
            r.setValue(QLatin1String(f->estDoseString), QString());
            r.setValue(QLatin1String(f->doseString), QString());
        }
    }
    r.setValue(QLatin1String(critLevelField), QString::number(ch.user.level));
}

void settingsTexts(RecordView& r, const ChannelSettings& s, const char* suffix)
{
    const QString sx = QLatin1String(suffix);
    r.setValue(QStringLiteral("settingsCritLevel") + sx, s.critLevel);
    r.setValue(QStringLiteral("settingsCritTime") + sx, s.critTime);
    r.setValue(QStringLiteral("settingsThreshold") + sx, s.threshold);
    r.setValue(QStringLiteral("settingsExchangeRate") + sx, s.exchangeRate);
    r.setValue(QStringLiteral("settingsTimeWeighting") + sx, s.timeWeighting);
}

} // namespace

void calculate(RecordView& r, const UserCriterion& user1, const UserCriterion& user2, const QString& noneText,
               const QLocale& loc)
{
    // 1. run seconds
    const qint64 runSeconds = runTimeSeconds(r.text(QStringLiteral("RunTime")));

    // 2. settings of both channels
    ChannelContext ch1{parseSettings(r.text(QStringLiteral("settings")), noneText), user1};
    ChannelContext ch2{parseSettings2(r.text(QStringLiteral("settings2")), noneText), user2};
    settingsTexts(r, ch1.settings, "");
    settingsTexts(r, ch2.settings, "2");

    // 3. level texts
    static const char* const kLevels[][2] = {{"leq", "leqString"},     {"lepd", "lepdString"},
                                             {"sel", "selString"},     {"lavg", "lavgString"},
                                             {"twa", "twaString"},     {"lavg2", "lavg2String"},
                                             {"twa2", "twa2String"},   {"peak_level", "peakString"}};
    for (const auto& l : kLevels)
        r.setValue(QLatin1String(l[1]), levelText(r.number(QLatin1String(l[0])), loc));

    // 4.-7. doses from Leq and from TWA
    static const DoseFields leq1{"dose", "est_dose", "doseString", "est_doseString", "leq"};
    static const DoseFields twa1{"dose5", "est_dose5", "dose5String", "est_dose5String", "lavg"};
    static const DoseFields twa2{"dose52", "est_dose52", "dose52String", "est_dose52String", "lavg2"};
    static const DoseFields leq2{"dose2", "est_dose2", "dose2String", "est_dose2String", "leq2"};
    doseTexts(r, leq1, ch1, runSeconds, loc);
    doseTexts(r, twa1, ch1, runSeconds, loc);
    doseTexts(r, twa2, ch2, runSeconds, loc);
    doseTexts(r, leq2, ch2, runSeconds, loc);

    // 8.-9. the user's criterion levels
    userCriterion(r, leq1, twa1, ch1, "settingsCritLevel", runSeconds, loc);
    userCriterion(r, leq2, twa2, ch2, "settingsCritLevel2", runSeconds, loc);

    // 10. channel 2 texts
    r.setValue(QStringLiteral("leq2String"), levelText(r.number(QStringLiteral("leq2")), loc));
    r.setValue(QStringLiteral("lepd2String"), levelText(r.number(QStringLiteral("lepd2")), loc));
    r.setValue(QStringLiteral("sel2String"), levelText(r.number(QStringLiteral("sel2")), loc));
    for (const auto& e : {std::pair{"exp2", "exp2String"}, std::pair{"est_Exp2", "est_exp2String"}}) {
        const double v = r.number(QLatin1String(e.first));
        r.setValue(QLatin1String(e.second), isOverRange(v) ? QStringLiteral("+++") : DisplayFormat::fixed(v, 1, loc));
    }
}

} // namespace sonvex::MeasCalc

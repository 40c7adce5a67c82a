// sonvex-make-samples: writes the data installed with the program.
//   sonvex-make-samples <folder>
// writes into <folder> (the program's data folder, resources/ in the source tree):
//   samples/Sonvex3 Sample Data.kvntm                  an RM:50A Reader's download
//   samples/Sonvex3 Dual channel sample data.kvntm     an RM:52A Reader's, "dual data"
//   samples/Sonvex3 Dual Threshold sample data.kvntm   an RM:52A Reader's, "thre data"
//   ActivityNames.xml                                  everyday work activities with colours
//   RM50ASetups.xml                                    the quick setups
//
// Every sample is a simulated Reader's printout taken through the print-dump
// parser and written as the program writes a download, with fixed date and
// time formats and a fixed download time, so the output is the same byte for
// byte on every run.

#include "data/ActivityTables.h"
#include "data/DataFilesController.h"
#include "data/DataSet.h"
#include "data/SonvexDataModule.h"
#include "instruments/KVTReaderPrintout.h"
#include "setup/QuickSetupTable.h"
#include "sim/SimReader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace sonvex;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("sonvex-make-samples", text);
}

int fail(const QString& message)
{
    std::fprintf(stderr, "sonvex-make-samples: %s\n", qPrintable(message));
    return 1;
}

// ---- the measurements

SimTask task(const char* name, int minutes, double level, double spread, double impulsesPerHour = 0,
             double impulsePeak = 0)
{
    return SimTask{QLatin1String(name), minutes, level, spread, impulsesPerHour, impulsePeak};
}

// What one badge did, planned by hand.
struct Plan
{
    QVector<SimTask> tasks;
    QTime start;
    int pauseAfterMinutes = -1; // badge paused after this many measured minutes
    int pauseMinutes = 0;
    int overloadMinute = -1; // measured minute with an overload
};

// A day in a metal workshop: grinding and hammering with impulsive peaks, a
// blow next to the microphone that overloads it, breaks, and the lunch hour
// with the badge paused.
Plan workshopDay()
{
    Plan p;
    p.start = QTime(7, 30);
    p.tasks = {
        task("assembly", 60, 80.0, 3.0),
        task("grinding", 70, 92.0, 4.0, 20, 128.0),
        task("break", 15, 63.0, 2.0),
        task("hammering", 50, 88.0, 5.0, 120, 137.0),
        task("drilling", 40, 85.0, 3.0, 10, 125.0),
        // lunch: paused
        task("welding", 60, 84.0, 3.0),
        task("grinding", 45, 93.0, 4.0, 20, 128.0),
        task("break", 15, 63.0, 2.0),
        task("hammering", 30, 89.0, 5.0, 150, 138.0),
        task("inspection", 40, 76.0, 2.5),
        task("compressed air cleaning", 20, 87.0, 4.0),
        task("forklift", 25, 84.0, 3.0),
    };
    p.pauseAfterMinutes = 60 + 70 + 15 + 50 + 40;
    p.pauseMinutes = 30;
    p.overloadMinute = p.pauseAfterMinutes + 60 + 45 + 15 + 12; // in the second hammering
    return p;
}

// An office day, quiet but for one hour of drilling and breaking next door
// from 14:00 to 15:00.
Plan officeDay()
{
    Plan p;
    p.start = QTime(9, 0);
    p.tasks = {
        task("office work", 90, 61.0, 3.0),  task("meeting", 60, 64.0, 3.0),
        task("office work", 60, 60.0, 3.0),  task("lunch", 30, 66.0, 2.5),
        task("office work", 60, 61.0, 3.0),  task("building work next door", 60, 83.0, 3.0, 30, 118.0),
        task("office work", 120, 61.0, 3.0),
    };
    return p;
}

// A twelve-hour shift on a packaging line, 07:00 to 19:00.
Plan twelveHourShift()
{
    Plan p;
    p.start = QTime(7, 0);
    p.tasks = {
        task("packaging line", 120, 87.0, 3.0), task("break", 20, 68.0, 2.0),
        task("packaging line", 100, 88.0, 3.0), task("changeover", 60, 84.0, 5.0, 20, 126.0),
        task("lunch", 40, 65.0, 2.5),           task("packaging line", 120, 87.0, 3.0),
        task("break", 20, 68.0, 2.0),           task("loading", 60, 84.0, 3.0),
        task("packaging line", 120, 88.0, 3.0), task("cleaning", 60, 82.0, 4.0),
    };
    return p;
}

// A badge that was reset and docked again without ever being started.
Plan neverStarted()
{
    Plan p;
    p.start = QTime(8, 10);
    return p;
}

SimChannelSettings channelSettings(int level, int rate, int threshold, bool slow)
{
    SimChannelSettings s;
    s.criterionLevel = level;
    s.exchangeRate = rate;
    s.threshold = threshold;
    s.response = slow ? u'S' : u'F';
    s.weighting = slow ? QStringLiteral("Slow") : QStringLiteral("None");
    return s;
}

// One sample file: a Reader with four badges, one per plan, on consecutive days.
struct SampleFile
{
    const char* fileName;
    SimReaderModel model;
    SimSecondChannel channel2;
    const char* readerSerial;
    QDate readerRecalDue;
    QDate firstDay;
    quint64 seed;
    const char* badgeSerials[4];
    double calOffsets[4][2]; // first and last calibration
};

const SampleFile kSampleFiles[] = {
    {"Sonvex3 Sample Data.kvntm",
     SimReaderModel::RM50A,
     SimSecondChannel::None,
     "04217",
     QDate(2025, 1, 20),
     QDate(2024, 3, 12),
     20240312,
     {"31842", "31877", "32015", "32160"},
     {{0.1, 0.2}, {-0.1, -0.1}, {0.0, 0.1}, {0.2, 0.2}}},
    {"Sonvex3 Dual channel sample data.kvntm",
     SimReaderModel::RM52A,
     SimSecondChannel::Dual,
     "52093",
     QDate(2025, 2, 3),
     QDate(2024, 4, 9),
     20240409,
     {"60118", "60134", "60252", "60311"},
     {{0.0, 0.1}, {0.2, 0.1}, {-0.2, -0.1}, {0.1, 0.1}}},
    {"Sonvex3 Dual Threshold sample data.kvntm",
     SimReaderModel::RM52A,
     SimSecondChannel::Threshold,
     "52147",
     QDate(2025, 3, 11),
     QDate(2024, 5, 14),
     20240514,
     {"60402", "60419", "60433", "60470"},
     {{-0.1, 0.0}, {0.1, 0.1}, {0.0, -0.1}, {0.2, 0.3}}},
};

SimReader sampleReader(const SampleFile& file)
{
    const bool dual = file.model == SimReaderModel::RM52A;
    SimReader reader;
    reader.model = file.model;
    reader.serial = QLatin1String(file.readerSerial);
    reader.recalDue = file.readerRecalDue;
    reader.firmware = QStringLiteral("2.10");
    reader.results = SimResultKind::Q3;
    reader.secondChannel = file.channel2;

    const Plan plans[] = {workshopDay(), officeDay(), twelveHourShift(), neverStarted()};
    for (int i = 0; i < 4; ++i) {
        const Plan& plan = plans[i];
        SimBadgeSpec badge;
        badge.number = i + 1;
        badge.serial = QLatin1String(file.badgeSerials[i]);
        badge.modelWord = simModelName(file.model);
        badge.firmware = dual ? QStringLiteral("4.10") : QStringLiteral("3.02");
        badge.recalDue = file.readerRecalDue.addDays(-30 - 7 * i);
        badge.settings1 = channelSettings(85, 3, 0, false);
        // The second channel: the hearing conservation count (90 dB, 5 dB,
        // from 80 dB), with its settings or as the Reader's threshold channel.
        if (file.channel2 != SimSecondChannel::None)
            badge.settings2 = channelSettings(90, 5, 80, true);
        badge.calibrated = true;
        badge.firstCalOffset = file.calOffsets[i][0];
        badge.lastCalOffset = file.calOffsets[i][1];

        SimShift shift;
        shift.start = QDateTime(file.firstDay.addDays(i == 3 ? 2 : i), plan.start, Qt::UTC);
        shift.periodSeconds = 60;
        shift.tasks = plan.tasks;
        shift.pauseAfterMinutes = plan.pauseAfterMinutes;
        shift.pauseMinutes = plan.pauseMinutes;
        shift.overloadSample = plan.overloadMinute;

        SimBadgeCoding coding;
        coding.newGeneration = true;
        coding.dualReader = dual;
        coding.thresholdChannel2 = file.channel2 == SimSecondChannel::Threshold;
        reader.badges.append(generateMeasurement(file.seed * 10 + quint64(i), badge, coding, shift));
    }
    return reader;
}

// The formats every sample is written with, whatever the computer's locale.
UserFormats fileFormats()
{
    return UserFormats::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

bool writeSample(const SampleFile& file, const QString& path, QString* error)
{
    const SimReader reader = sampleReader(file);
    // Downloaded the morning after the last badge was docked.
    const QDateTime downloaded(file.firstDay.addDays(3), QTime(8, 45), Qt::UTC);
    const UserFormats formats = fileFormats();
    const QStringList text = ParsePrintout(
        writePrintout(reader), PrintoutContext::fromUserFormats(formats, downloaded, reader.firmware));
    if (text.contains(QStringLiteral("file format error"))) {
        *error = tr("the printout of %1 could not be read back").arg(QLatin1String(file.fileName));
        return false;
    }
    // Written as a download is saved: the lines and the format lines.
    Tdm dm;
    DataFilesController files(dm);
    files.setUserFormats(formats);
    return files.WriteDataFile(text, path, error);
}

// ---- the activity names

struct ActivityName
{
    const char* name;
    int red, green, blue;
};

// Everyday work activities; the colours are far apart, so that neighbours on
// an activity chart are told apart at a glance.
const ActivityName kActivityNames[] = {
    {"Office work", 0xA1, 0xCA, 0xF1},
    {"Meeting", 0x00, 0x67, 0xA5},
    {"Break", 0x00, 0x88, 0x56},
    {"Lunch", 0x2B, 0x3D, 0x26},
    {"Driving", 0xBB, 0xBB, 0xBB},
    {"Forklift driving", 0xF3, 0xC3, 0x00},
    {"Assembly", 0x8D, 0xB6, 0x00},
    {"Machining", 0x87, 0x56, 0x92},
    {"Grinding", 0xBE, 0x00, 0x32},
    {"Hammering", 0x88, 0x2D, 0x17},
    {"Cutting and sawing", 0xFF, 0x20, 0x20},
    {"Drilling", 0xF3, 0x84, 0x00},
    {"Welding", 0x40, 0x60, 0xFF},
    {"Press shop", 0xD2, 0x00, 0xD2},
    {"Compressed air cleaning", 0xE6, 0x8F, 0xAC},
    {"Inspection and testing", 0x6F, 0xDC, 0xB4},
    {"Loading and unloading", 0xA0, 0x78, 0x50},
    {"Packaging line", 0xB3, 0x44, 0x6C},
    {"Maintenance", 0xFF, 0xD0, 0xB0},
    {"Warehouse picking", 0xC2, 0xB2, 0x80},
    {"Cleaning", 0x00, 0xC0, 0xA0},
    {"Concrete breaking", 0x1F, 0x2A, 0x6E},
};

bool writeActivityNames(const QString& path, QString* error)
{
    DataSet names(QStringLiteral("CDSActNames"));
    ActivityTables::createActNames(names);
    for (const ActivityName& a : kActivityNames) {
        names.append();
        names.setValue(QStringLiteral("ActNamesName"), QLatin1String(a.name));
        names.setValue(QStringLiteral("ActNamesColour"), ActivityTables::colourValue(a.red, a.green, a.blue));
        names.post();
    }
    return names.saveToFile(path, error);
}

bool writeQuickSetups(const QString& path, QString* error)
{
    DataSet setups(QStringLiteral("CDSSetups"));
    QuickSetupTable::createTable(setups);
    for (const QuickSetupTable::QuickSetup& s : QuickSetupTable::shippedSetups())
        QuickSetupTable::appendSetup(setups, s);
    return setups.saveToFile(path, error);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sonvex-make-samples"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Writes the sample data files, the activity names and the quick setups installed with the "
           "program."));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("folder"),
        tr("The program's data folder: the samples go into its \"samples\" folder."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        std::fprintf(stderr, "sonvex-make-samples: %s\n", qPrintable(tr("give the folder to write into")));
        return 2;
    }

    const QDir folder(args.first());
    if (!QDir().mkpath(folder.filePath(QStringLiteral("samples"))))
        return fail(
            tr("cannot create %1").arg(QDir::toNativeSeparators(folder.filePath(QStringLiteral("samples")))));

    QStringList written;
    QString error;
    for (const SampleFile& file : kSampleFiles) {
        const QString path = folder.filePath(QStringLiteral("samples/") + QLatin1String(file.fileName));
        if (!writeSample(file, path, &error))
            return fail(error);
        written << path;
    }
    const QString names = folder.filePath(QLatin1String(ActivityTables::kActivityNamesFile));
    if (!writeActivityNames(names, &error))
        return fail(error);
    written << names;
    const QString setups = folder.filePath(QLatin1String(QuickSetupTable::kSetupsFile));
    if (!writeQuickSetups(setups, &error))
        return fail(error);
    written << setups;

    for (const QString& path : std::as_const(written))
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    return std::fflush(stdout) == 0 ? 0 : 1;
}

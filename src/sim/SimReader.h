#pragma once

// A simulated Reader with its docked badges, and the printout it sends when it
// is asked to print its stored measurements.

#include "sim/SimBadge.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace sonvex {

enum class SimReaderModel
{
    RM40,  // short command set, older badges
    RM50A, // bracketed command set
    RM52A  // bracketed command set, dual-channel badges
};

// Which results the badges print.
enum class SimResultKind
{
    Q3,        // energy results (dose, exposure, LAeq, LAE, LEX,8h) of a 3 dB badge
    Q5,        // exchange-rate results (Lavg, TWA, dose) of a 5 dB badge
    DataCheck, // newer badges: both kinds of result, a 3 dB slow channel, a
               // maximum-level count and a data check line ending each block
    Mixed      // badges with 3, 5 and 4 dB settings in turn
};

enum class SimSecondChannel
{
    None,
    Dual,     // second channel with its own settings ("dual data")
    Threshold // the 5 dB threshold channel, printed without settings ("thre data")
};

struct SimReaderOptions
{
    SimReaderModel model = SimReaderModel::RM50A;
    SimResultKind results = SimResultKind::Q3;
    // Default: Dual for RM:52A, None for the others.
    std::optional<SimSecondChannel> secondChannel;
    int periodSeconds = 60;
    double hours = 8.0;
    QDateTime firstStart; // default 12 March 2009 06:00
};

struct SimReader
{
    SimReaderModel model = SimReaderModel::RM50A;
    QString serial;
    QDate recalDue;
    QString firmware;
    SimResultKind results = SimResultKind::Q3;
    SimSecondChannel secondChannel = SimSecondChannel::None;
    QVector<SimMeasurement> badges;
};

// The model name as the Reader prints it: "RM:40", "RM:50A", "RM:52A".
QString simModelName(SimReaderModel model);
// Accepts "RM:50A", "rm50a", "50A" and the like.
std::optional<SimReaderModel> simModelFromName(const QString& name);

// A Reader holding `badgeCount` measurements generated from `seed`.
SimReader generateReader(int badgeCount, quint64 seed, const SimReaderOptions& options);

// The Reader's printout, one line per entry, without line terminators.
QStringList writePrintout(const SimReader& reader);

} // namespace sonvex

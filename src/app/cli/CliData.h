#pragma once

#include "data/DataFilesController.h"
#include "data/DateTimeFormats.h"

#include <QString>

namespace sonvex {
class DataSet;
class Tdm;
} // namespace sonvex

namespace sonvex::cli {

// The user's formats, or fixed English ones when SONVEX_CLI_LOCALE=C is set (scripts, tests).
UserFormats cliFormats();

// A data file of any kind loaded the way the program opens it. Returns the
// table that holds it, or null with the reason.
DataSet* loadDataFile(const QString& path, Tdm& dm, DataFilesController& files, QString* error,
                      int filter = DataFilesController::DataFilesFilter);

// The print-dump parser when the tool was built with it.
DataFilesController::PrintoutParser printoutParser(const UserFormats& formats);

} // namespace sonvex::cli

#pragma once

#include <QString>
#include <QStringList>

namespace sonvex {

// The per-user folders and the program's own data folder, without any widget.
namespace FolderSetup {

inline constexpr char kDocumentsSubfolder[] = "Meridan Sonvex";
inline constexpr char kDataSubfolder[] = "data files";
inline constexpr char kActivityNamesFile[] = "ActivityNames.xml";

// The user's documents folder, without a trailing separator.
QString myDocumentsPath();

// The program's data (samples, help, templates): "share/sonvex" beside the installed program
// (<bin>/../share/sonvex or <bin>/share/sonvex), else the source tree's resources folder.
QString programDataFolder(const QString& programFolder);

// The three sample data files copied into a new data folder.
const QStringList& sampleDataFiles();

struct Result
{
    QString documentsFolder;
    QString dataFolder;
    QStringList errors; // one sentence per folder that could not be created
    QStringList copied; // target paths of the files copied
};

// Derives the folders that are empty, creates the missing ones and seeds a newly created data
// folder with the samples (existing files are never overwritten; failed copies are skipped).
Result ensureFolders(QString documentsFolder, QString dataFolder, const QString& myDocuments,
                     const QString& programData);

// Copies the samples into `dataFolder` and the activity names into `documentsFolder`, skipping
// every file that already exists there or cannot be copied. Returns the files copied.
QStringList copySamples(const QString& programData, const QString& documentsFolder,
                        const QString& dataFolder);

} // namespace FolderSetup

} // namespace sonvex

#include "app/FolderSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace sonvex::FolderSetup {

QString myDocumentsPath()
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (path.isEmpty())
        path = QDir::homePath();
    while (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(u'\\')))
        path.chop(1);
    return path;
}

QString programDataFolder(const QString& programFolder)
{
    const QDir bin(programFolder);
    for (const QString& candidate : {QStringLiteral("../share/sonvex"), QStringLiteral("share/sonvex")}) {
        const QFileInfo info(bin.filePath(candidate));
        if (info.isDir())
            return info.canonicalFilePath();
    }
#ifdef SONVEX_SOURCE_RESOURCES
    return QStringLiteral(SONVEX_SOURCE_RESOURCES);
#else
    return bin.absolutePath();
#endif
}

const QStringList& sampleDataFiles()
{
    static const QStringList files{QStringLiteral("Sonvex3 Sample Data.kvntm"),
                                   QStringLiteral("Sonvex3 Dual channel sample data.kvntm"),
                                   QStringLiteral("Sonvex3 Dual Threshold sample data.kvntm")};
    return files;
}

namespace {

// A sample lies in the data folder itself or in its "samples" subfolder.
QString sampleSource(const QString& programData, const QString& name)
{
    const QDir dir(programData);
    for (const QString& candidate : {name, QStringLiteral("samples/") + name}) {
        if (QFileInfo(dir.filePath(candidate)).isFile())
            return dir.filePath(candidate);
    }
    return {};
}

bool copyWithoutOverwriting(const QString& source, const QString& target)
{
    if (source.isEmpty() || QFileInfo::exists(target))
        return false;
    return QFile::copy(source, target);
}

} // namespace

QStringList copySamples(const QString& programData, const QString& documentsFolder, const QString& dataFolder)
{
    QStringList copied;
    for (const QString& name : sampleDataFiles()) {
        const QString target = QDir(dataFolder).filePath(name);
        if (copyWithoutOverwriting(sampleSource(programData, name), target))
            copied << target;
    }
    const QString names = QString::fromLatin1(kActivityNamesFile);
    const QString target = QDir(documentsFolder).filePath(names);
    if (copyWithoutOverwriting(sampleSource(programData, names), target))
        copied << target;
    return copied;
}

Result ensureFolders(QString documentsFolder, QString dataFolder, const QString& myDocuments,
                     const QString& programData)
{
    Result result;
    const QString documentsDefault = QDir(myDocuments).filePath(QString::fromLatin1(kDocumentsSubfolder));
    if (documentsFolder.isEmpty())
        documentsFolder = documentsDefault;
    if (dataFolder.isEmpty())
        dataFolder = QDir(documentsDefault).filePath(QString::fromLatin1(kDataSubfolder));
    result.documentsFolder = documentsFolder;
    result.dataFolder = dataFolder;

    const auto cannotCreate = [](const QString& folder) {
        return QCoreApplication::translate("FolderSetup", "The folder \"%1\" could not be created.")
            .arg(QDir::toNativeSeparators(folder));
    };
    if (!QFileInfo(documentsFolder).isDir() && !QDir().mkpath(documentsFolder))
        result.errors << cannotCreate(documentsFolder);
    if (!QFileInfo(dataFolder).isDir()) {
        if (QDir().mkpath(dataFolder))
            result.copied = copySamples(programData, documentsFolder, dataFolder);
        else
            result.errors << cannotCreate(dataFolder);
    }
    return result;
}

} // namespace sonvex::FolderSetup

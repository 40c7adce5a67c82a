#pragma once

#include <QObject>
#include <QString>

namespace sonvex {

class DataSet;

// What the main window needs from the data-files controller: opening a file like
// "&Open Data File..." and learning what was loaded. The controller implements it; the window
// only binds commands and pages to it.
class DataFilesPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens `fileName`; `filterIndex` is the 1-based position of the open dialog's filter chosen
    // (the second one marks an older data file).
    virtual void openDataFile(const QString& fileName, int filterIndex) = 0;
    // 0 nothing loaded, 1 noxTag measurements, 2 SLM measurements.
    virtual int dataKind() const = 0;
    // The table of `kind` (CDSMeas for 1, CDSSLMMeas for 2); null for 0.
    virtual DataSet* table(int kind) const = 0;
    // The data block of the program's end: save the tables to their files. Errors stay inside.
    virtual void saveOnShutDown() = 0;

signals:
    void dataLoaded(int kind);
    void noData();
    void statusMessage(const QString& text);
    void recentFileAdded(const QString& fileName);
};

} // namespace sonvex

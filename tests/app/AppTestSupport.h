#pragma once

#include "app/DataFilesPort.h"
#include "app/SonvexMain.h"
#include "data/DataSet.h"
#include "data/SettingsStore.h"

#include <QTemporaryDir>

#include <memory>

namespace sonvex::test {

// A private world for one window: settings, documents and program data in a temporary folder.
class ShellWorld
{
public:
    ShellWorld();

    QString root() const { return m_dir.path(); }
    QString settingsDir() const { return m_dir.path() + QStringLiteral("/settings"); }
    QString documents() const { return m_dir.path() + QStringLiteral("/Documents"); }
    QString programData() const { return m_dir.path() + QStringLiteral("/share/sonvex"); }
    QString sonvexFolder() const { return documents() + QStringLiteral("/Meridan Sonvex"); }
    QString dataFolder() const { return sonvexFolder() + QStringLiteral("/data files"); }

    // The three samples and the activity names, each holding its own name as content.
    void writeProgramData();
    // A store on this world's settings (a new instance each call reads the same file).
    std::unique_ptr<SettingsStore> newStore() const;
    // Like the test platforms, the default desktop has no notification area.
    MainWindowOptions options(SettingsStore* store, const QStringList& arguments = {QStringLiteral("sonvex")},
                              bool trayAvailable = false);
    std::unique_ptr<TformSonvex3Main> newWindow(SettingsStore* store,
                                                const QStringList& arguments = {QStringLiteral("sonvex")},
                                                bool trayAvailable = false);

    // Message boxes the window asked for, instead of showing them.
    QStringList messages;

private:
    QTemporaryDir m_dir;
};

// Stands in for the data-files controller: records what it was asked and loads a small table.
class FakeDataFiles : public DataFilesPort
{
public:
    FakeDataFiles()
    {
        m_table.setFieldDefs({FieldDef::make("badge", FieldType::String, 20, "noxTag"),
                              FieldDef::make("leq", FieldType::Float, 0, "LAeq")});
        m_table.createDataSet();
    }
    void openDataFile(const QString& fileName, int filterIndex) override
    {
        opened << fileName;
        filters << filterIndex;
        m_table.emptyDataSet();
        for (int i = 0; i < rows; ++i)
            m_table.appendRecord({QStringLiteral("B%1").arg(i), 80.0 + i});
        emit dataLoaded(1);
        emit recentFileAdded(fileName);
        emit statusMessage("Data from file: " + fileName);
    }
    int dataKind() const override { return 1; }
    DataSet* table(int kind) const override { return kind == 1 ? const_cast<DataSet*>(&m_table) : nullptr; }
    void saveOnShutDown() override { ++shutDowns; }

    QStringList opened;
    QList<int> filters;
    int rows = 3;
    int shutDowns = 0;

private:
    DataSet m_table;
};

// Every text a widget below `root` shows (labels, buttons, group titles, tab texts, actions).
QStringList visibleTexts(QWidget* root);

} // namespace sonvex::test

#pragma once

#include "app/SonvexMain.h"
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

// Every text a widget below `root` shows (labels, buttons, group titles, tab texts, actions).
QStringList visibleTexts(QWidget* root);

} // namespace sonvex::test

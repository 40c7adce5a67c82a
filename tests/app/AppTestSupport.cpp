#include "AppTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QtTest>

namespace sonvex::test {

ShellWorld::ShellWorld()
{
    QDir().mkpath(settingsDir());
    QDir().mkpath(documents());
    QDir().mkpath(programData() + QStringLiteral("/help"));
}

void ShellWorld::writeProgramData()
{
    for (const QString& name :
         {QStringLiteral("Sonvex3 Sample Data.kvntm"),
          QStringLiteral("Sonvex3 Dual channel sample data.kvntm"),
          QStringLiteral("Sonvex3 Dual Threshold sample data.kvntm"), QStringLiteral("ActivityNames.xml")}) {
        QFile f(programData() + u'/' + name);
        if (f.open(QIODevice::WriteOnly))
            f.write(name.toUtf8());
    }
}

std::unique_ptr<SettingsStore> ShellWorld::newStore() const
{
    return std::make_unique<SettingsStore>(settingsDir());
}

MainWindowOptions ShellWorld::options(SettingsStore* store, const QStringList& arguments, bool trayAvailable)
{
    MainWindowOptions o;
    o.store = store;
    o.arguments = arguments;
    o.programFolder = m_dir.path() + QStringLiteral("/bin");
    o.programFile = o.programFolder + QStringLiteral("/sonvex");
    o.programDataFolder = programData();
    o.myDocuments = documents();
    o.trayAvailable = trayAvailable;
    o.showMessage = [this](QMessageBox::Icon, const QString& text) {
        messages << text;
    };
    return o;
}

std::unique_ptr<TformSonvex3Main> ShellWorld::newWindow(SettingsStore* store, const QStringList& arguments,
                                                        bool trayAvailable)
{
    return std::make_unique<TformSonvex3Main>(options(store, arguments, trayAvailable));
}

QStringList visibleTexts(QWidget* root)
{
    QStringList texts{root->windowTitle()};
    for (QLabel* l : root->findChildren<QLabel*>())
        texts << l->text();
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        texts << b->text() << b->toolTip();
    for (QGroupBox* g : root->findChildren<QGroupBox*>())
        texts << g->title();
    for (QTabWidget* t : root->findChildren<QTabWidget*>()) {
        for (int i = 0; i < t->count(); ++i)
            texts << t->tabText(i);
    }
    for (QAction* a : root->findChildren<QAction*>())
        texts << a->text() << a->toolTip() << a->statusTip();
    for (QMenu* m : root->findChildren<QMenu*>())
        texts << m->title();
    return texts;
}

} // namespace sonvex::test

#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QToolBar;

namespace sonvex {

// Every command of the main window as one QAction, shared by the menu bar, the toolbar, the tray
// menu and the buttons on the pages, so enabling or checking an action updates every place.
// Actions are found by their object names ("ActionFileOpen", ...).
class ActionSet : public QObject
{
    Q_OBJECT
public:
    explicit ActionSet(QObject* parent = nullptr);

    QAction* action(const QString& name) const;
    QAction* operator[](const char* name) const { return action(QString::fromLatin1(name)); }
    QList<QAction*> actions() const { return m_ordered; }
    QAction* reopenAction(int index) const; // 1 .. 5

    QActionGroup* viewModeGroup() const { return m_viewMode; }
    QActionGroup* reportRowsGroup() const { return m_reportRows; }
    QActionGroup* reportTypeGroup() const { return m_reportType; }
    QActionGroup* excelRowsGroup() const { return m_excelRows; }

    // Fills the bars and menus; the menus are children of the widgets given.
    void buildMenuBar(QMenuBar* bar);
    void buildToolBar(QToolBar* bar);
    void buildTrayMenu(QMenu* menu);
    QMenu* menu(const QString& name) const { return m_menus.value(name); }

    // Captions and hints again in the language now installed (menu titles included).
    void retranslate();

    // An action whose work is done by a part of the program that is not there yet: disabled,
    // its hint says so, and triggering it anyway only tells the user.
    void markNotAvailable(QAction* action);
    static bool isNotAvailable(const QAction* action);
    // The part doing the work has joined: enabled, with its own hint again.
    void markAvailable(QAction* action);

signals:
    void notAvailableTriggered(QAction* action);

private:
    QMenu* addMenu(QWidget* parent, const char* name, const char* title);
    QHash<QString, QAction*> m_byName;
    QList<QAction*> m_ordered;
    QHash<QString, QMenu*> m_menus;
    QHash<QMenu*, const char*> m_menuTitles;
    QActionGroup* m_viewMode = nullptr;
    QActionGroup* m_reportRows = nullptr;
    QActionGroup* m_reportType = nullptr;
    QActionGroup* m_excelRows = nullptr;
};

} // namespace sonvex

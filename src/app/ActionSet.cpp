#include "app/ActionSet.h"

#include "app/SonvexStringConstants.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace sonvex {

namespace {

enum Flags : unsigned
{
    None = 0,
    Checkable = 1,
    Hidden = 2
};

struct ActionDef
{
    const char* name;
    const char* text;
    const char* hint; // "short|long" or one text for both
    const char* shortcut;
    const char* icon; // in :/icons/, without ".svg"
    unsigned flags;
};

// clang-format off
const ActionDef kActions[] = {
    // File
    {"ActionFileOpen", QT_TRANSLATE_NOOP("ActionSet", "&Open Data File..."), QT_TRANSLATE_NOOP("ActionSet", "Open a file containing noxTag measurements downloaded previously"), "Ctrl+O", "open", None},
    {"ActionReopen1", "", "", "", nullptr, Hidden},
    {"ActionReopen2", "", "", "", nullptr, Hidden},
    {"ActionReopen3", "", "", "", nullptr, Hidden},
    {"ActionReopen4", "", "", "", nullptr, Hidden},
    {"ActionReopen5", "", "", "", nullptr, Hidden},
    {"ActionFileSaveSelected", QT_TRANSLATE_NOOP("ActionSet", "Save &Selected Measurements As..."), "", "", "save-selected", None},
    {"ActionFileSaveAll", QT_TRANSLATE_NOOP("ActionSet", "Save All Measurements &As..."), "", "", "save-all", None},
    {"ActionFileSettings", QT_TRANSLATE_NOOP("ActionSet", "Program &Settings..."), QT_TRANSLATE_NOOP("ActionSet", "Alter program configuration and preferences"), "", nullptr, None},
    {"ActionFileShutDown", QT_TRANSLATE_NOOP("ActionSet", "Sh&ut down Sonvex"), QT_TRANSLATE_NOOP("ActionSet", "Shuts down the Sonvex program"), "", nullptr, None},
    {"ActionFileExit", QT_TRANSLATE_NOOP("ActionSet", "E&xit"), QT_TRANSLATE_NOOP("ActionSet", "Closes and returns Sonvex to the system tray"), "", "exit", None},
    {"ActionFileShowWindow", QT_TRANSLATE_NOOP("ActionSet", "Show the &Sonvex window"), "", "", nullptr, None},
    {"ActionFilePrinterSetup", QT_TRANSLATE_NOOP("ActionSet", "Printer Setup..."), "", "", nullptr, None},
    // Edit
    {"ActionEditDeleteSelected", QT_TRANSLATE_NOOP("ActionSet", "&Delete Selected Measurement(s)"), QT_TRANSLATE_NOOP("ActionSet", "Delete the measurements which are selected in the  list"), "", nullptr, None},
    // View
    {"ActionViewSimpleMode", QT_TRANSLATE_NOOP("ActionSet", "Sim&ple Mode"), "", "", nullptr, Checkable},
    {"ActionViewAdvancedMode", QT_TRANSLATE_NOOP("ActionSet", "Ad&vanced Mode"), "", "", nullptr, Checkable},
    {"ActionViewNoUnderrange", QT_TRANSLATE_NOOP("ActionSet", "&Don't hide Underrange Values on Time History Chart"), "", "", nullptr, Checkable | Hidden},
    {"ActionViewValidate", QT_TRANSLATE_NOOP("ActionSet", "V&alidate soak test data"), "", "", nullptr, Checkable | Hidden},
    {"ActionViewValidationOptions", QT_TRANSLATE_NOOP("ActionSet", "Va&lidation Options..."), "", "", nullptr, Hidden},
    {"ActionViewMeasurementData", QT_TRANSLATE_NOOP("ActionSet", "V&iew Measurement Data..."), "", "", "view-data", None},
    {"ActionViewReportItems", QT_TRANSLATE_NOOP("ActionSet", "&Choose Report Data Items..."), "", "", nullptr, None},
    {"ActionViewZoomIn", QT_TRANSLATE_NOOP("ActionSet", "Z&oom In Between Cursors"), "", "", "zoom-in", None},
    {"ActionViewZoomOut", QT_TRANSLATE_NOOP("ActionSet", "Zoom O&ut"), "", "", "zoom-out", None},
    {"ActionViewResetCursors", QT_TRANSLATE_NOOP("ActionSet", "Reset Cursor Positions"), "", "", nullptr, None},
    {"ActionViewValidationFirstSoak", QT_TRANSLATE_NOOP("ActionSet", "First Soak"), QT_TRANSLATE_NOOP("ActionSet", "First Soak: bing done, run until battery is flat"), "", "soak-first", Hidden},
    {"ActionViewValidationSecondSoak", QT_TRANSLATE_NOOP("ActionSet", "Second Soak"), QT_TRANSLATE_NOOP("ActionSet", "Second Soak: no bing, flat battery not required"), "", "soak-second", Hidden},
    // Data
    {"ActionDataDownloadPage", QT_TRANSLATE_NOOP("ActionSet", "&Download From Instrument..."), "", "", "download", None},
    {"ActionDataClockPage", QT_TRANSLATE_NOOP("ActionSet", "&Set the Instrument Clock..."), "", "", "clock", None},
    {"ActionDataReaderMemoryPage", QT_TRANSLATE_NOOP("ActionSet", "C&lear the Instrument Memory..."), "", "", nullptr, None},
    {"ActionDataConfigureReaderPage", QT_TRANSLATE_NOOP("ActionSet", "Co&nfigure the Instrument's Measurement Setup..."), "", "", nullptr, None},
    {"ActionDataConfigureDisplayPage", QT_TRANSLATE_NOOP("ActionSet", "&Configure the Instrument's Display..."), "", "", nullptr, None},
    {"ActionDataDownload", QT_TRANSLATE_NOOP("ActionSet", "Download from Instrument"), QT_TRANSLATE_NOOP("ActionSet", "Download|download the data stored in the Reader or SLM"), "", "download", None},
    {"ActionDataSetClock", QT_TRANSLATE_NOOP("ActionSet", "Set Instrument Clock"), "", "", nullptr, None},
    {"ActionDataClearMemory", QT_TRANSLATE_NOOP("ActionSet", "Clear the Instrument Memory"), "", "", nullptr, None},
    {"ActionDataSendSetup", QT_TRANSLATE_NOOP("ActionSet", "Send Setup to Instrument"), "", "", nullptr, None},
    {"ActionDataSendOptions", QT_TRANSLATE_NOOP("ActionSet", "Send Display Options to Instrument"), "", "", nullptr, None},
    {"ActionToolsConnectionInformation", QT_TRANSLATE_NOOP("ActionSet", "Serial Port Settings... "), "", "", nullptr, None},
    // Reports
    {"ActionReportsUseAll", QT_TRANSLATE_NOOP("ActionSet", "&Include all Measurements in Reports"), "", "", nullptr, Checkable},
    {"ActionReportsUseSelected", QT_TRANSLATE_NOOP("ActionSet", "I&nclude only Selected Measurements in Reports"), "", "", nullptr, Checkable},
    {"ActionReportTypeComprehensive", QT_TRANSLATE_NOOP("ActionSet", "&Comprehensive Report"), "", "", nullptr, Checkable},
    {"ActionReportTypeCompact", QT_TRANSLATE_NOOP("ActionSet", "C&ompact Report"), "", "", nullptr, Checkable},
    {"ActionReportTypeSimple", QT_TRANSLATE_NOOP("ActionSet", "&Simple Report"), "", "", nullptr, Checkable | Hidden},
    {"ActionReportsCustomize", QT_TRANSLATE_NOOP("ActionSet", "&Customise Report..."), "", "", nullptr, None},
    {"ActionReportsPreview", QT_TRANSLATE_NOOP("ActionSet", "&Preview Report..."), "", "", nullptr, None},
    {"ActionReportsPrint", QT_TRANSLATE_NOOP("ActionSet", "P&rint Report..."), "", "", "print", None},
    {"ActionReportsTavish", QT_TRANSLATE_NOOP("ActionSet", "&Activity Report..."), "", "", nullptr, None},
    {"ActionReportsCreateReportPage", QT_TRANSLATE_NOOP("ActionSet", "&Create a Measurement Report"), "", "", "report", None},
    {"ActionReportsExport", QT_TRANSLATE_NOOP("ActionSet", "Sen&d Report..."), "", "", nullptr, None},
    // Export ("Send Data")
    {"ActionExportExcelUseAll", QT_TRANSLATE_NOOP("ActionSet", "&Include all Measurements when sending to Excel"), "", "", nullptr, Checkable},
    {"ActionExportExcelUseSelected", QT_TRANSLATE_NOOP("ActionSet", "I&nclude only Selected Measurements when sending to Excel"), "", "", nullptr, Checkable},
    {"ActionExportExcelTable", QT_TRANSLATE_NOOP("ActionSet", "S&end to Excel as a Table"), "", "", nullptr, None},
    {"ActionExportExcelTimeHistory", QT_TRANSLATE_NOOP("ActionSet", "Send &to Excel with Time History Data"), "", "", nullptr, None},
    {"ActionExportChartJpeg", QT_TRANSLATE_NOOP("ActionSet", "S&ave Time History Chart as JPEG"), "", "", nullptr, None},
    {"ActionExportChartLeq", QT_TRANSLATE_NOOP("ActionSet", "Sa&ve Time History Chart as .leq file..."), "", "", nullptr, None},
    {"ActionDataDatabase", QT_TRANSLATE_NOOP("ActionSet", "&Send Measurements to Database"), QT_TRANSLATE_NOOP("ActionSet", "Transfer this data to the noxTag Database"), "Ctrl+B", "database", None},
    {"ActionExportXml", QT_TRANSLATE_NOOP("ActionSet", "E&xport Data as XML..."), "", "", nullptr, None},
    {"ActionExportHegNew", QT_TRANSLATE_NOOP("ActionSet", "&Create a New Spreadsheet..."), "", "", nullptr, None},
    {"ActionExportHegOpen", QT_TRANSLATE_NOOP("ActionSet", "&Open a Saved Spreadsheet..."), "", "", nullptr, None},
    {"ActionExportSendDataPage", QT_TRANSLATE_NOOP("ActionSet", "S&end Measurement Data..."), "", "", "send-data", None},
    {"ActionExportData", QT_TRANSLATE_NOOP("ActionSet", "Ex&port data..."), "", "", nullptr, None},
    // Help
    {"ActionHelpContents", QT_TRANSLATE_NOOP("ActionSet", "He&lp Contents..."), "", "", nullptr, None},
    {"ActionHelpContext", QT_TRANSLATE_NOOP("ActionSet", "H&elp on this Feature..."), "", "", nullptr, None},
    {"ActionHelpTerminology", QT_TRANSLATE_NOOP("ActionSet", "Help on Terminology..."), "", "", nullptr, None},
    {"ActionHelpChargerAdvice", QT_TRANSLATE_NOOP("ActionSet", "A&dvice on the noxTag charging system..."), "", "", nullptr, None},
    {"ActionHelpUpdates", QT_TRANSLATE_NOOP("ActionSet", "U&pdates"), "", "", nullptr, Hidden},
    {"ActionHelpAbout", QT_TRANSLATE_NOOP("ActionSet", "&About Sonvex..."), "", "", nullptr, None},
};

struct MenuDef
{
    const char* name;
    const char* title;
};
const MenuDef kMenus[] = {
    {"MenuFile", QT_TRANSLATE_NOOP("ActionSet", "&File")},       {"MenuReopen", QT_TRANSLATE_NOOP("ActionSet", "&Reopen")},    {"MenuSave", QT_TRANSLATE_NOOP("ActionSet", "Sa&ve")},
    {"MenuEdit", QT_TRANSLATE_NOOP("ActionSet", "Ed&it")},       {"MenuView", QT_TRANSLATE_NOOP("ActionSet", "&View")},        {"MenuData", QT_TRANSLATE_NOOP("ActionSet", "&Data")},
    {"MenuReports", QT_TRANSLATE_NOOP("ActionSet", "&Reports")}, {"MenuReportType", QT_TRANSLATE_NOOP("ActionSet", "R&eport Type")},
    {"MenuExport", QT_TRANSLATE_NOOP("ActionSet", "&Export")},   {"MenuHeg", QT_TRANSLATE_NOOP("ActionSet", "&Homogenous Exposure Group Calculator")},
    {"MenuHelp", QT_TRANSLATE_NOOP("ActionSet", "&Help")},       {"MenuTray", ""},
};
// clang-format on

const char* menuTitle(const char* name)
{
    for (const MenuDef& m : kMenus) {
        if (qstrcmp(m.name, name) == 0)
            return m.title;
    }
    return "";
}

const char kNotAvailable[] = "sonvexNotAvailable";

void applyTexts(QAction* a, const ActionDef& def)
{
    if (*def.text)
        a->setText(QCoreApplication::translate("ActionSet", def.text));
    const QString hint = *def.hint ? QCoreApplication::translate("ActionSet", def.hint) : QString();
    const qsizetype bar = hint.indexOf(u'|');
    QString shortHint = bar >= 0 ? hint.left(bar) : hint;
    QString longHint = bar >= 0 ? hint.mid(bar + 1) : hint;
    if (shortHint.isEmpty())
        shortHint = QString(a->text()).remove(u'&');
    if (ActionSet::isNotAvailable(a)) {
        const QString note = SonvexStrings::notAvailableYet();
        longHint = longHint.isEmpty() ? note : longHint + QStringLiteral(" - ") + note;
        shortHint += QStringLiteral(" (") + note + u')';
    }
    a->setToolTip(shortHint);
    a->setStatusTip(longHint);
}

} // namespace

ActionSet::ActionSet(QObject* parent) : QObject(parent)
{
    for (const ActionDef& def : kActions) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(def.name));
        a->setCheckable(def.flags & Checkable);
        a->setVisible(!(def.flags & Hidden));
        if (*def.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
        if (def.icon) {
            const QString path = QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(def.icon));
            if (QFile::exists(path))
                a->setIcon(QIcon(path));
        }
        applyTexts(a, def);
        m_byName.insert(a->objectName(), a);
        m_ordered << a;
        connect(a, &QAction::triggered, this, [this, a] {
            if (isNotAvailable(a))
                emit notAvailableTriggered(a);
        });
    }

    const auto group = [this](std::initializer_list<const char*> names) {
        auto* g = new QActionGroup(this);
        g->setExclusive(true);
        for (const char* n : names)
            g->addAction((*this)[n]);
        return g;
    };
    m_viewMode = group({"ActionViewSimpleMode", "ActionViewAdvancedMode"});
    m_reportRows = group({"ActionReportsUseAll", "ActionReportsUseSelected"});
    m_reportType =
        group({"ActionReportTypeComprehensive", "ActionReportTypeCompact", "ActionReportTypeSimple"});
    m_excelRows = group({"ActionExportExcelUseAll", "ActionExportExcelUseSelected"});
    (*this)["ActionViewSimpleMode"]->setChecked(true);
    (*this)["ActionReportsUseAll"]->setChecked(true);
    (*this)["ActionReportTypeComprehensive"]->setChecked(true);
    (*this)["ActionExportExcelUseAll"]->setChecked(true);
}

QAction* ActionSet::action(const QString& name) const
{
    QAction* a = m_byName.value(name);
    Q_ASSERT_X(a, "ActionSet::action", qPrintable(name));
    return a;
}

QAction* ActionSet::reopenAction(int index) const
{
    return action(QStringLiteral("ActionReopen%1").arg(index));
}

QMenu* ActionSet::addMenu(QWidget* parent, const char* name, const char* title)
{
    auto* m = new QMenu(parent);
    m->setObjectName(QString::fromLatin1(name));
    if (*title)
        m->setTitle(QCoreApplication::translate("ActionSet", title));
    m_menus.insert(m->objectName(), m);
    m_menuTitles.insert(m, title);
    connect(m, &QObject::destroyed, this, [this, m, key = m->objectName()] {
        m_menuTitles.remove(m);
        if (m_menus.value(key) == m)
            m_menus.remove(key);
    });
    return m;
}

void ActionSet::buildMenuBar(QMenuBar* bar)
{
    const auto& a = *this;
    QMenu* file = addMenu(bar, "MenuFile", menuTitle("MenuFile"));
    file->addAction(a["ActionFileOpen"]);
    QMenu* reopen = addMenu(file, "MenuReopen", menuTitle("MenuReopen"));
    for (int i = 1; i <= 5; ++i)
        reopen->addAction(reopenAction(i));
    file->addMenu(reopen);
    QMenu* save = addMenu(file, "MenuSave", menuTitle("MenuSave"));
    save->addAction(a["ActionFileSaveSelected"]);
    save->addAction(a["ActionFileSaveAll"]);
    file->addMenu(save);
    file->addSeparator();
    file->addAction(a["ActionFileSettings"]);
    file->addSeparator();
    file->addAction(a["ActionFileShutDown"]);
    file->addAction(a["ActionFileExit"]);
    bar->addMenu(file);

    QMenu* edit = addMenu(bar, "MenuEdit", menuTitle("MenuEdit"));
    edit->addAction(a["ActionEditDeleteSelected"]);
    bar->addMenu(edit);

    QMenu* view = addMenu(bar, "MenuView", menuTitle("MenuView"));
    view->addAction(a["ActionViewSimpleMode"]);
    view->addAction(a["ActionViewAdvancedMode"]);
    view->addAction(a["ActionViewNoUnderrange"]);
    view->addAction(a["ActionViewValidate"]);
    view->addAction(a["ActionViewValidationOptions"]);
    view->addSeparator();
    view->addAction(a["ActionViewMeasurementData"]);
    view->addSeparator();
    view->addAction(a["ActionViewReportItems"]);
    view->addSeparator();
    view->addAction(a["ActionViewZoomIn"]);
    view->addAction(a["ActionViewZoomOut"]);
    bar->addMenu(view);

    QMenu* data = addMenu(bar, "MenuData", menuTitle("MenuData"));
    data->addAction(a["ActionDataDownloadPage"]);
    data->addSeparator();
    data->addAction(a["ActionDataClockPage"]);
    data->addAction(a["ActionDataReaderMemoryPage"]);
    data->addAction(a["ActionDataConfigureReaderPage"]);
    data->addAction(a["ActionDataConfigureDisplayPage"]);
    bar->addMenu(data);

    QMenu* reports = addMenu(bar, "MenuReports", menuTitle("MenuReports"));
    reports->addAction(a["ActionReportsUseAll"]);
    reports->addAction(a["ActionReportsUseSelected"]);
    QMenu* type = addMenu(reports, "MenuReportType", menuTitle("MenuReportType"));
    type->addAction(a["ActionReportTypeComprehensive"]);
    type->addAction(a["ActionReportTypeCompact"]);
    type->addAction(a["ActionReportTypeSimple"]);
    reports->addMenu(type);
    reports->addSeparator();
    reports->addAction(a["ActionReportsCustomize"]);
    reports->addSeparator();
    reports->addAction(a["ActionReportsPreview"]);
    reports->addAction(a["ActionReportsPrint"]);
    reports->addSeparator();
    reports->addAction(a["ActionReportsTavish"]);
    bar->addMenu(reports);

    QMenu* exportMenu = addMenu(bar, "MenuExport", menuTitle("MenuExport"));
    exportMenu->addAction(a["ActionExportExcelUseAll"]);
    exportMenu->addAction(a["ActionExportExcelUseSelected"]);
    exportMenu->addAction(a["ActionExportExcelTable"]);
    exportMenu->addAction(a["ActionExportExcelTimeHistory"]);
    exportMenu->addSeparator();
    exportMenu->addAction(a["ActionExportChartJpeg"]);
    exportMenu->addAction(a["ActionExportChartLeq"]);
    exportMenu->addSeparator();
    exportMenu->addAction(a["ActionReportsExport"]);
    exportMenu->addAction(a["ActionDataDatabase"]);
    exportMenu->addAction(a["ActionExportXml"]);
    QMenu* heg = addMenu(exportMenu, "MenuHeg", menuTitle("MenuHeg"));
    heg->addAction(a["ActionExportHegNew"]);
    heg->addAction(a["ActionExportHegOpen"]);
    exportMenu->addMenu(heg);
    bar->addMenu(exportMenu);

    QMenu* help = addMenu(bar, "MenuHelp", menuTitle("MenuHelp"));
    help->addAction(a["ActionHelpContents"]);
    help->addAction(a["ActionHelpContext"]);
    help->addAction(a["ActionHelpChargerAdvice"]);
    help->addAction(a["ActionHelpUpdates"]);
    help->addAction(a["ActionHelpAbout"]);
    bar->addMenu(help);
}

void ActionSet::buildToolBar(QToolBar* bar)
{
    const auto& a = *this;
    bar->addAction(a["ActionFileExit"]);
    bar->addSeparator();
    bar->addAction(a["ActionFileOpen"]);
    bar->addAction(a["ActionFileSaveAll"]);
    bar->addAction(a["ActionFileSaveSelected"]);
    bar->addSeparator();
    bar->addAction(a["ActionDataDownloadPage"]);
    bar->addAction(a["ActionDataClockPage"]);
    bar->addSeparator();
    bar->addAction(a["ActionReportsCreateReportPage"]);
    bar->addAction(a["ActionReportsPrint"]);
    bar->addAction(a["ActionExportSendDataPage"]);
    bar->addAction(a["ActionDataDatabase"]);
    bar->addSeparator();
    bar->addAction(a["ActionViewMeasurementData"]);
    bar->addAction(a["ActionViewZoomIn"]);
    bar->addAction(a["ActionViewZoomOut"]);
    bar->addSeparator();
    bar->addAction(a["ActionViewValidationFirstSoak"]);
    bar->addAction(a["ActionViewValidationSecondSoak"]);
}

void ActionSet::buildTrayMenu(QMenu* menu)
{
    const auto& a = *this;
    menu->setObjectName(QStringLiteral("MenuTray"));
    m_menus.insert(menu->objectName(), menu);
    menu->addAction(a["ActionFileShowWindow"]);
    menu->addAction(a["ActionHelpAbout"]);
    menu->addAction(a["ActionHelpContents"]);
    menu->addSeparator();
    menu->addAction(a["ActionFileOpen"]);
    menu->addAction(a["ActionDataDownload"]);
    menu->addSeparator();
    menu->addAction(a["ActionFileSettings"]);
    menu->addSeparator();
    menu->addAction(a["ActionFileShutDown"]);
    menu->setDefaultAction(a["ActionDataDownload"]);
}

void ActionSet::retranslate()
{
    for (const ActionDef& def : kActions)
        applyTexts(action(QString::fromLatin1(def.name)), def);
    for (auto it = m_menuTitles.cbegin(); it != m_menuTitles.cend(); ++it) {
        if (*it.value())
            it.key()->setTitle(QCoreApplication::translate("ActionSet", it.value()));
    }
}

void ActionSet::markNotAvailable(QAction* a)
{
    a->setProperty(kNotAvailable, true);
    a->setEnabled(false);
    for (const ActionDef& def : kActions) {
        if (a->objectName() == QLatin1String(def.name))
            applyTexts(a, def);
    }
}

void ActionSet::markAvailable(QAction* a)
{
    a->setProperty(kNotAvailable, false);
    a->setEnabled(true);
    for (const ActionDef& def : kActions) {
        if (a->objectName() == QLatin1String(def.name))
            applyTexts(a, def);
    }
}

bool ActionSet::isNotAvailable(const QAction* a)
{
    return a->property(kNotAvailable).toBool();
}

} // namespace sonvex

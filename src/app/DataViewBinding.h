#pragma once

#include <QObject>
#include <QPointer>

namespace sonvex {

class DataFilesController;
class SettingsStore;
class TFormSonvexDataView;
class TformSonvex3Main;
class TformSonvexDataViewPopup;
class Tdm;

// Puts the measurement data view into the main window: inside the "   View Data   " page while
// its data sheet shows badge measurements, or in the popup window of "View Measurement Data...".
// Binds the window's chart commands (zoom, reset cursors, underrange values, picture and Leq
// export), the list's commands and "Help on Terminology" to the view.
//
// No meta-object of its own: the application library gathers its classes' meta-objects into one
// object file, and this class must stay out of it, so that a program that does not use the
// views does not need them to link.
class DataViewBinding : public QObject
{
public:
    // `files` (the data-file lines, notes and cursors written back) and `settings` (marker lines,
    // peak option) may be null; none is owned.
    DataViewBinding(TformSonvex3Main* window, Tdm* dm, DataFilesController* files, SettingsStore* settings,
                    QObject* parent = nullptr);
    ~DataViewBinding() override;

    // The data view, created on first use with the main window as its owner.
    TFormSonvexDataView* dataView();
    TformSonvexDataViewPopup* popup();
    bool viewCreated() const { return m_view != nullptr; }

    // "View Measurement Data...": the data view in the popup window (badge data only).
    void ActionViewDataWindowExecute();
    // The data sheet is shown: the data view into the page, the popup window closed.
    void TSGotDataShow();
    // The "   View Data   " page is shown.
    void TSDataShow();

private:
    void bindActions();
    void pageChanged();

    QPointer<TformSonvex3Main> m_window;
    Tdm* m_dm = nullptr;
    QPointer<DataFilesController> m_files;
    SettingsStore* m_settings = nullptr;
    TFormSonvexDataView* m_view = nullptr;
    TformSonvexDataViewPopup* m_popup = nullptr;
};

} // namespace sonvex

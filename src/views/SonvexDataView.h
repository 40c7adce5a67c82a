#pragma once

#include <QWidget>

namespace sonvex {

class TFrameDataView;

// The measurement data view form ("Sonvex Measurement Data"): its whole client area is the data
// view frame. The main window shows it inside its "   View Data   " page or in the popup window;
// closing it only hides it.
class TFormSonvexDataView : public QWidget
{
    Q_OBJECT
public:
    explicit TFormSonvexDataView(QWidget* parent = nullptr);

    TFrameDataView* frame() const { return m_frame; }
    // Called when the current record changes, when the settings change and before the
    // single-measurement table export.
    void refreshRecord();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TFrameDataView* m_frame = nullptr;
};

} // namespace sonvex

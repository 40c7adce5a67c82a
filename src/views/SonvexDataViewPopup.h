#pragma once

#include <QPointer>
#include <QWidget>

class QPushButton;
class QVBoxLayout;

namespace sonvex {

// The separate window the command "View Measurement Data..." shows the data view in: a host area
// for a form and a bottom strip with a "Close" button. Closing only hides it.
class TformSonvexDataViewPopup : public QWidget
{
    Q_OBJECT
public:
    explicit TformSonvexDataViewPopup(QWidget* parent = nullptr);

    // Puts `form` into the host area (taking it from wherever it is).
    void hostForm(QWidget* form);
    QWidget* hostedForm() const { return m_form; }
    QWidget* hostArea() const { return m_host; }
    QPushButton* closeButton() const { return m_close; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* m_host = nullptr;
    QVBoxLayout* m_hostLayout = nullptr;
    QPushButton* m_close = nullptr;
    QPointer<QWidget> m_form;
};

} // namespace sonvex

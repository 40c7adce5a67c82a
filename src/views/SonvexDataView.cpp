#include "views/SonvexDataView.h"

#include "views/SonvexDataViewFrame.h"

#include <QCloseEvent>
#include <QEvent>
#include <QVBoxLayout>

namespace sonvex {

TFormSonvexDataView::TFormSonvexDataView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormSonvexDataView"));
    setWindowTitle(tr("Sonvex Measurement Data"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_frame = new TFrameDataView(this);
    layout->addWidget(m_frame);
}

void TFormSonvexDataView::refreshRecord()
{
    m_frame->refreshRecord();
}

void TFormSonvexDataView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // In this view the chart area stays empty without a history: the frame's caption is cleared.
    m_frame->frameTH()->setOuterCaption(QString());
    m_frame->refreshCaptions();
}

void TFormSonvexDataView::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

void TFormSonvexDataView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Sonvex Measurement Data"));
        m_frame->refreshCaptions();
    }
    QWidget::changeEvent(event);
}

} // namespace sonvex

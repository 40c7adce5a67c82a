#include "views/SonvexDataViewPopup.h"

#include <QCloseEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace sonvex {

TformSonvexDataViewPopup::TformSonvexDataViewPopup(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("formSonvexDataViewPopup"));
    setWindowTitle(tr("Sonvex Measurement Data"));
    setProperty("helpKeyword", QStringLiteral("ViewTheMeasurementData"));
    resize(1200, 820);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_host = new QWidget(this);
    m_host->setObjectName(QStringLiteral("PanelHost"));
    m_hostLayout = new QVBoxLayout(m_host);
    m_hostLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_host, 1);
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("PanelBottom"));
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(8, 6, 8, 8);
    row->addStretch(1);
    m_close = new QPushButton(tr("Close"), strip);
    m_close->setObjectName(QStringLiteral("ButtonClose"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    row->addWidget(m_close);
    layout->addWidget(strip);
}

void TformSonvexDataViewPopup::hostForm(QWidget* form)
{
    if (!form || m_form == form)
        return;
    m_form = form;
    m_hostLayout->addWidget(form);
    form->show();
}

void TformSonvexDataViewPopup::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

void TformSonvexDataViewPopup::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Sonvex Measurement Data"));
        m_close->setText(tr("Close"));
    }
    QWidget::changeEvent(event);
}

} // namespace sonvex

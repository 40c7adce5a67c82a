#include "app/WizardFrame.h"

#include "app/ShapeButton.h"
#include "app/SonvexStringConstants.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace sonvex {

WizardFrame::WizardFrame(const QString& name, const QStringList& pageNames, QWidget* parent)
    : QWidget(parent), m_navigator(int(pageNames.size())), m_pages(new QStackedWidget(this)),
      m_back(new QPushButton(this)), m_next(new QPushButton(this))
{
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(10);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    for (int step = 1; step <= m_navigator.stepCount(); ++step) {
        auto* b = new ShapeButton(step, this);
        b->setObjectName(QStringLiteral("LMDShapeButton%1Step%2").arg(name).arg(step));
        connect(b, &QAbstractButton::clicked, this, [this, step] { showPage(0, step); });
        buttons->addWidget(b, 1);
        m_buttons << b;
    }
    layout->addLayout(buttons);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    m_pages->setObjectName(QStringLiteral("PageControl") + name);
    for (const QString& pageName : pageNames) {
        auto* page = new QWidget(m_pages);
        page->setObjectName(pageName);
        m_pages->addWidget(page);
    }
    layout->addWidget(m_pages, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    m_back->setObjectName(QStringLiteral("BitBtn%1WizardBack").arg(name));
    m_next->setObjectName(QStringLiteral("BitBtn%1WizardNext").arg(name));
    m_next->setDefault(false);
    for (QPushButton* b : {m_back, m_next}) {
        b->setMinimumWidth(110);
        bottom->addWidget(b);
    }
    layout->addLayout(bottom);
    connect(m_back, &QPushButton::clicked, this, [this] { showPage(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(+1); });

    retranslate();
    showStep(1);
}

ShapeButton* WizardFrame::shapeButton(int step) const
{
    return m_buttons.value(step - 1);
}

QWidget* WizardFrame::page(int step) const
{
    return m_pages->widget(step - 1);
}

void WizardFrame::showPage(int direction, int target)
{
    const WizardNavigator::Move move = m_navigator.navigate(direction, target);
    showStep(move.step);
    if (move.toGettingStarted)
        emit gettingStartedRequested();
}

void WizardFrame::showStep(int step)
{
    m_pages->setCurrentIndex(step - 1);
    m_next->setText(m_navigator.isLastStep() ? SonvexStrings::finishCaption() : SonvexStrings::nextCaption());
    for (ShapeButton* b : m_buttons)
        b->setPressedLook(b->step() == step);
    emit stepShown(step);
}

void WizardFrame::retranslate()
{
    m_back->setText(tr("<  Back"));
    m_back->setToolTip(tr("Go back to the previous step"));
    m_next->setToolTip(tr("Go to the next step"));
    m_next->setText(m_navigator.isLastStep() ? SonvexStrings::finishCaption() : SonvexStrings::nextCaption());
}

} // namespace sonvex

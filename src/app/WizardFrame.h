#pragma once

#include "app/WizardNavigator.h"

#include <QStringList>
#include <QWidget>

class QPushButton;
class QStackedWidget;

namespace sonvex {

class ShapeButton;

// One wizard: a row of step buttons, the pages (tabs never shown) and Back / Next.
class WizardFrame : public QWidget
{
    Q_OBJECT
public:
    // `pageNames` give the object names of the step pages, step 1 first.
    WizardFrame(const QString& name, const QStringList& pageNames, QWidget* parent = nullptr);

    int stepCount() const { return m_navigator.stepCount(); }
    int currentStep() const { return m_navigator.current(); }
    ShapeButton* shapeButton(int step) const;
    QWidget* page(int step) const;
    QStackedWidget* pageControl() const { return m_pages; }
    QPushButton* backButton() const { return m_back; }
    QPushButton* nextButton() const { return m_next; }

    // Navigation: a target step k >= 1 shows step k; otherwise by direction (-1, 0, +1).
    void showPage(int direction, int target = 0);

    void retranslate();

signals:
    void stepShown(int step);
    void gettingStartedRequested();

private:
    void showStep(int step);

    WizardNavigator m_navigator;
    QList<ShapeButton*> m_buttons;
    QStackedWidget* m_pages;
    QPushButton* m_back;
    QPushButton* m_next;
};

} // namespace sonvex

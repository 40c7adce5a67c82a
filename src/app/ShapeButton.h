#pragma once

#include <QAbstractButton>

namespace sonvex {

// A step button of a wizard: a rounded shape with the step number and caption, drawn pressed
// while its step is shown.
class ShapeButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit ShapeButton(int step, QWidget* parent = nullptr);

    int step() const { return m_step; }
    // Drawn pressed (the step now shown). Independent of the mouse.
    void setPressedLook(bool pressed);
    bool pressedLook() const { return m_pressedLook; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int m_step;
    bool m_pressedLook = false;
    bool m_hover = false;
};

// The fixed-size middle panel of a page: rounded corners and a soft shadow; its owner keeps it
// centred in the page.
class RoundedPanel : public QWidget
{
    Q_OBJECT
public:
    explicit RoundedPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace sonvex

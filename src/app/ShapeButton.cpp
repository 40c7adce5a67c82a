#include "app/ShapeButton.h"

#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QPainterPath>

namespace sonvex {

namespace {
const QColor kAccent(0x2b, 0x63, 0xa8);
const QColor kAccentLight(0xe8, 0xef, 0xf8);
const QColor kBorder(0xb9, 0xc6, 0xd6);
} // namespace

ShapeButton::ShapeButton(int step, QWidget* parent) : QAbstractButton(parent), m_step(step)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void ShapeButton::setPressedLook(bool pressed)
{
    if (m_pressedLook == pressed)
        return;
    m_pressedLook = pressed;
    update();
}

QSize ShapeButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + fm.height() * 2 + 22, fm.height() * 2 + 14};
}

QSize ShapeButton::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.height() * 3, fm.height() * 2 + 14};
}

void ShapeButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ShapeButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ShapeButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = r.height() / 2.0;
    const bool down = m_pressedLook || isDown();

    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    if (down) {
        fill.setColorAt(0, kAccent.lighter(115));
        fill.setColorAt(1, kAccent);
    } else {
        fill.setColorAt(0, m_hover && isEnabled() ? kAccentLight.lighter(103) : QColor(0xfb, 0xfc, 0xfe));
        fill.setColorAt(1, m_hover && isEnabled() ? kAccentLight.darker(103) : QColor(0xea, 0xee, 0xf4));
    }
    p.setPen(QPen(down ? kAccent.darker(120) : kBorder, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);

    // Step number in a circle, then the caption.
    const QFontMetrics fm(font());
    const qreal d = fm.height() + 6;
    const QRectF circle(r.left() + 7, r.center().y() - d / 2, d, d);
    p.setPen(Qt::NoPen);
    p.setBrush(down ? QColor(Qt::white) : kAccent);
    p.drawEllipse(circle);
    QFont numberFont = font();
    numberFont.setBold(true);
    p.setFont(numberFont);
    p.setPen(down ? kAccent : QColor(Qt::white));
    p.drawText(circle, Qt::AlignCenter, QString::number(m_step));

    // The caption wraps at blanks; a font step smaller where a single word would not fit.
    const QRectF textRect(circle.right() + 6, r.top(), r.right() - circle.right() - 12, r.height());
    QFont captionFont = font();
    for (int i = 0; i < 4; ++i) {
        const QFontMetricsF m(captionFont);
        qreal widest = 0;
        for (const QString& word : text().split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, m.horizontalAdvance(word));
        if (widest <= textRect.width())
            break;
        captionFont.setPointSizeF(captionFont.pointSizeF() * 0.9);
    }
    p.setFont(captionFont);
    QColor textColor = down ? QColor(Qt::white) : palette().color(QPalette::ButtonText);
    if (!isEnabled())
        textColor = palette().color(QPalette::Disabled, QPalette::ButtonText);
    p.setPen(textColor);
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text());

    if (hasFocus()) {
        p.setPen(QPen(kAccent, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(3, 3, -3, -3), radius - 3, radius - 3);
    }
}

RoundedPanel::RoundedPanel(QWidget* parent) : QWidget(parent)
{
    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(22);
    shadow->setOffset(0, 3);
    shadow->setColor(QColor(0x20, 0x30, 0x50, 70));
    setGraphicsEffect(shadow);
    setAutoFillBackground(false);
}

void RoundedPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBorder, 1));
    p.setBrush(palette().color(QPalette::Base));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
}

} // namespace sonvex

#include "app/WizardNavigator.h"

namespace sonvex {

WizardNavigator::Move WizardNavigator::navigate(int direction, int target)
{
    Move move;
    if (target >= 1) {
        if (target <= m_count)
            m_current = target;
    } else if (direction == 0) {
        m_current = 1;
    } else if (direction > 0) {
        if (m_current >= m_count) {
            m_current = 1;
            move.toGettingStarted = true;
        } else {
            ++m_current;
        }
    } else {
        if (m_current <= 1)
            move.toGettingStarted = true;
        else
            --m_current;
    }
    move.step = m_current;
    return move;
}

} // namespace sonvex

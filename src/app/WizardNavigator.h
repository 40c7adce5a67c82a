#pragma once

namespace sonvex {

// Step-by-step navigation of one wizard (steps numbered 1 .. stepCount), without any widget.
class WizardNavigator
{
public:
    struct Move
    {
        int step = 1;                  // the step now shown
        bool toGettingStarted = false; // the main page returns to "Getting Started"
        bool operator==(const Move&) const = default;
    };

    explicit WizardNavigator(int stepCount) : m_count(stepCount < 1 ? 1 : stepCount) {}

    int stepCount() const { return m_count; }
    int current() const { return m_current; }
    bool isLastStep() const { return m_current == m_count; }

    // A target step k >= 1 shows step k; otherwise direction 0 shows the first step, +1 the next
    // (the last step goes back to the first and to "Getting Started"), -1 the previous (the first
    // step stays and the main page returns to "Getting Started"). Targets outside the wizard are
    // ignored, leaving the step as it was.
    Move navigate(int direction, int target = 0);

private:
    int m_count;
    int m_current = 1;
};

} // namespace sonvex

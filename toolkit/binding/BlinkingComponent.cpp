#include "toolkit/binding/BlinkingComponent.h"

BlinkingComponent::BlinkingComponent() : timer (std::make_unique<BlinkingComponentTimer> (*this))
{
}

BlinkingComponent::~BlinkingComponent() = default;

void BlinkingComponent::startBlinking()
{
    blinkPhase = false;
    timer->startTimer (blinkPeriodMs);
    blinkStateChanged();
}

void BlinkingComponent::stopBlinking()
{
    // Nothing changes on screen unless it was blinking.
    if (! timer->isTimerRunning())
        return;

    timer->stopTimer();
    blinkStateChanged();
}

bool BlinkingComponent::isBlinking() const noexcept
{
    return timer->isTimerRunning();
}

void BlinkingComponent::BlinkingComponentTimer::timerCallback()
{
    owner.blinkPhase = ! owner.blinkPhase;
    owner.blinkStateChanged();
}

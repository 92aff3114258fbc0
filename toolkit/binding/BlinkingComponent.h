#pragma once

#include <juce_events/juce_events.h>

#include <memory>

// A blink for any skin control: while blinking, a timer of its own flips the
// phase every period, and the control shows its dark look in the bright-off
// phase (isBlinkDark). The editor starts and stops it. Message thread.
class BlinkingComponent
{
public:
    BlinkingComponent();
    virtual ~BlinkingComponent();

    BlinkingComponent (const BlinkingComponent&) = delete;
    BlinkingComponent& operator= (const BlinkingComponent&) = delete;

    // Starts in the lit phase and flips every blink period.
    void startBlinking();

    // Stops flipping; the phase keeps its value. Tells blinkStateChanged only
    // when it was blinking.
    void stopBlinking();

    bool isBlinking() const noexcept;
    bool getBlinkPhase() const noexcept { return blinkPhase; }

    // True while blinking in the phase that shows the dark look.
    bool isBlinkDark() const noexcept { return blinkPhase && isBlinking(); }

    // Milliseconds per phase; takes effect at the next start.
    void setBlinkPeriod (int milliseconds) noexcept { blinkPeriodMs = milliseconds > 0 ? milliseconds : 1; }
    int getBlinkPeriod() const noexcept { return blinkPeriodMs; }

protected:
    // Message thread: the blink started, stopped or flipped its phase.
    virtual void blinkStateChanged() {}

private:
    class BlinkingComponentTimer : public juce::Timer
    {
    public:
        explicit BlinkingComponentTimer (BlinkingComponent& blinking) noexcept : owner (blinking) {}
        void timerCallback() override; // message thread

    private:
        BlinkingComponent& owner;
    };

    bool blinkPhase = false;
    int blinkPeriodMs = 150;
    std::unique_ptr<BlinkingComponentTimer> timer;
};

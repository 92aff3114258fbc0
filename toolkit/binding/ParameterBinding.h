#pragma once

#include "framework/core/Parameter.h"

// One widget's link to one parameter. It owns the three things every bound
// widget needs:
//  - the thread hop: the widget joins the parameter's deferred listener list,
//    so it hears of every change on the message thread, once per batch;
//  - the echo guard: while the widget shows the parameter's value
//    (ScopedRefresh), whatever it would write back is dropped;
//  - the gesture: ScopedGesture brackets a user's drag with begin and end on
//    the parameter's immediate listeners, so the host records automation.
// An unbound binding writes nothing and makes no gesture. Message thread.
class ParameterBinding
{
public:
    // The widget's listener is what joins the parameter's deferred list.
    explicit ParameterBinding (Parameter::Listener& widget) noexcept : listener (widget) {}
    ~ParameterBinding();

    ParameterBinding (const ParameterBinding&) = delete;
    ParameterBinding& operator= (const ParameterBinding&) = delete;

    // Leaves the deferred list of the parameter bound so far and joins that
    // of the new one (null unbinds).
    void bind (Parameter* parameter);

    Parameter* getParameter() const noexcept { return parameter; }
    bool isBound() const noexcept { return parameter != nullptr; }

    // The user changed the value: written with notification. True when the
    // parameter's value changed; nothing is written when unbound or while
    // refreshing.
    bool writeNormalised (float normalised);
    bool writeValue (float value);
    bool writeBool (bool value);
    bool writeInt (int value);

    // The user entered a text: read by the parameter as its kind reads
    // text. True when the parameter's text changed.
    bool writeText (const juce::String& text);

    // True while the widget is being shown the parameter's value.
    bool isRefreshing() const noexcept { return refreshing; }

    class ScopedRefresh
    {
    public:
        explicit ScopedRefresh (ParameterBinding& binding) noexcept : owner (binding), was (binding.refreshing) { owner.refreshing = true; }
        ~ScopedRefresh() { owner.refreshing = was; }

        ScopedRefresh (const ScopedRefresh&) = delete;
        ScopedRefresh& operator= (const ScopedRefresh&) = delete;

    private:
        ParameterBinding& owner;
        const bool was;
    };

    // Begin on construction and end on destruction, on the parameter bound
    // at the start (nothing when unbound), so the two always pair.
    class ScopedGesture
    {
    public:
        explicit ScopedGesture (const ParameterBinding& binding);
        ~ScopedGesture();

        ScopedGesture (const ScopedGesture&) = delete;
        ScopedGesture& operator= (const ScopedGesture&) = delete;

        bool isActive() const noexcept { return parameter != nullptr; }

    private:
        Parameter* const parameter;
    };

private:
    template <typename Setter>
    bool write (Setter&& set)
    {
        if (parameter == nullptr || refreshing)
            return false;

        const float before = parameter->getValue();
        set (*parameter);
        return parameter->getValue() != before;
    }

    Parameter::Listener& listener;
    Parameter* parameter = nullptr;
    bool refreshing = false;
};

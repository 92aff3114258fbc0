#pragma once

#include "framework/core/Parameter.h"

#include <optional>

// One widget's link to one parameter. It owns the three things every bound
// widget needs:
//  - the thread hop: the widget joins the parameter's deferred listener list,
//    so it hears of every change on the message thread, once per batch;
//  - the echo guard: while the widget shows the parameter's value
//    (ScopedRefresh), whatever it would write back is dropped;
//  - the gesture: ScopedGesture brackets a user's drag with begin and end on
//    the parameter's immediate listeners, so the host records automation; a
//    write made outside a drag (a click, a choice, a typed text) is a gesture
//    of its own.
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

    // The user changed the value: written with notification, inside the
    // open gesture or else in one of its own. True when the parameter's
    // value changed; nothing is written when unbound, while refreshing, or
    // when the parameter already reads so.
    bool writeNormalised (float normalised);
    bool writeValue (float value);
    bool writeBool (bool value);
    bool writeInt (int value);

    // The user entered a text: read by the parameter as its kind reads
    // text. True when the parameter's text changed (a text parameter has no
    // number to compare).
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
        explicit ScopedGesture (ParameterBinding& binding);
        ~ScopedGesture();

        ScopedGesture (const ScopedGesture&) = delete;
        ScopedGesture& operator= (const ScopedGesture&) = delete;

    private:
        ParameterBinding& owner;
        Parameter::ScopedGesture gesture;
    };

private:
    // Nothing when the parameter already reads as wanted (in the widget's
    // terms: a box that shows "on" writing "on" changes nothing); otherwise
    // the parameter is set inside the open gesture, or in one of its own.
    // True when its reading changed.
    template <typename Reading, typename Wanted, typename Setter>
    bool write (Reading&& read, const Wanted& wanted, Setter&& set)
    {
        if (parameter == nullptr || refreshing)
            return false;

        const auto before = read (*parameter);
        if (before == wanted)
            return false;

        {
            std::optional<ScopedGesture> ownGesture;
            if (openGestures == 0)
                ownGesture.emplace (*this);
            set (*parameter);
        }
        return read (*parameter) != before;
    }

    Parameter::Listener& listener;
    Parameter* parameter = nullptr;
    bool refreshing = false;
    int openGestures = 0;
};

#pragma once

#include "toolkit/binding/ParameterBinding.h"

// The slim binding of the standard (not skinned) widgets: a widget follows
// one parameter, hearing of its changes on the message thread, and writes
// the user's changes through the same binding (with its echo guard and
// gestures). Message thread.
class ParameterController : public Parameter::Listener
{
public:
    ParameterController() = default;
    ~ParameterController() override = default;

    // Binds to the parameter (null unbinds) and shows its value.
    void bindParameter (Parameter* parameter);
    Parameter* getBoundParameter() const noexcept { return binding.getParameter(); }

    // Deferred listener: message thread.
    void parameterChanged (Parameter* parameter) override;

    // Shows the parameter's value; nothing written meanwhile reaches it.
    virtual void updateFromParameter (Parameter* parameter) = 0;

protected:
    ParameterBinding& getBinding() noexcept { return binding; }

private:
    ParameterBinding binding { *this };
};

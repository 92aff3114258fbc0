#include "toolkit/binding/ParameterController.h"

void ParameterController::bindParameter (Parameter* parameter)
{
    binding.bind (parameter);

    if (parameter != nullptr)
        parameterChanged (parameter);
}

void ParameterController::parameterChanged (Parameter* parameter)
{
    const ParameterBinding::ScopedRefresh refreshing (binding);
    updateFromParameter (parameter);
}

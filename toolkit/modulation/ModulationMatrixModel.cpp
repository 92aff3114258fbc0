#include "toolkit/modulation/ModulationMatrixModel.h"

#include <cmath>

namespace
{
// A number that is not one (from a preset, a host, a source gone wrong) is
// taken as 0: the view's clamp lets it through, its slider then never
// settles and its level line is drawn from it.
float finiteOrZero (float value) noexcept
{
    return std::isfinite (value) ? value : 0.0f;
}

ModulationRoute withFiniteAmount (ModulationRoute route) noexcept
{
    route.amount = finiteOrZero (route.amount);
    return route;
}
} // namespace

juce::String ModulationMatrixModel::getSourceName (int source)
{
    static const char* const names[numSources] = { "Modulation",       "Expression", "Pitch Bend", "Velocity", "Pitch",
                                                   "Channel Pressure", "Sustain",    "Arpe Gate",  "Arpe Tie" };
    return isSource (source) ? juce::String (names[source]) : juce::String();
}

void ModulationMatrixModel::addListener (Listener* listener)
{
    const juce::ScopedLock locked (lock);

    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void ModulationMatrixModel::removeListener (Listener* listener)
{
    const juce::ScopedLock locked (lock);
    listeners.removeAllInstancesOf (listener);
}

void ModulationMatrixModel::addRoute()
{
    const juce::ScopedLock locked (lock);
    routes.add (ModulationRoute());
    rebuildLookups();
    tellListeners();
}

void ModulationMatrixModel::removeRoute (int index)
{
    const juce::ScopedLock locked (lock);

    if (! juce::isPositiveAndBelow (index, routes.size()))
        return;

    routes.remove (index);
    rebuildLookups();
    tellListeners();
}

void ModulationMatrixModel::swapRoutes (int indexA, int indexB)
{
    const juce::ScopedLock locked (lock);

    if (! juce::isPositiveAndBelow (indexA, routes.size()) || ! juce::isPositiveAndBelow (indexB, routes.size()) || indexA == indexB)
        return;

    // The lookups hold route indices: they follow the swap.
    routes.swap (indexA, indexB);
    rebuildLookups();
    tellListeners();
}

void ModulationMatrixModel::setRoute (int index, const ModulationRoute& given)
{
    const auto route = withFiniteAmount (given);
    const juce::ScopedLock locked (lock);

    if (! juce::isPositiveAndBelow (index, routes.size()) || routes.getReference (index) == route)
        return;

    auto& stored = routes.getReference (index);
    const bool connectionChanged = stored.source != route.source || stored.destination != route.destination;
    stored = route;

    if (connectionChanged)
        rebuildLookups();

    tellListeners();
}

void ModulationMatrixModel::replaceRoutes (const juce::Array<ModulationRoute>& newRoutes)
{
    {
        const juce::ScopedLock locked (lock);
        routes.clearQuick();
        for (const auto& route : newRoutes)
            routes.add (withFiniteAmount (route));
        rebuildLookups();
        tellListeners();
    }

    routesReplaced.sendChangeMessage();
}

int ModulationMatrixModel::getNumRoutes() const
{
    const juce::ScopedLock locked (lock);
    return routes.size();
}

ModulationRoute ModulationMatrixModel::getRoute (int index) const
{
    const juce::ScopedLock locked (lock);
    return juce::isPositiveAndBelow (index, routes.size()) ? routes.getReference (index) : ModulationRoute();
}

juce::Array<int> ModulationMatrixModel::getRoutesOfSource (int source) const
{
    const juce::ScopedLock locked (lock);
    return isSource (source) ? routesBySource[static_cast<size_t> (source)] : juce::Array<int>();
}

juce::SortedSet<int> ModulationMatrixModel::getDestinationsOfSource (int source) const
{
    const juce::ScopedLock locked (lock);
    return isSource (source) ? destinationsBySource[static_cast<size_t> (source)] : juce::SortedSet<int>();
}

juce::SortedSet<int> ModulationMatrixModel::getDestinations (bool perNote) const
{
    const juce::ScopedLock locked (lock);
    return destinationsByKind[perNote ? 1 : 0];
}

juce::Array<int> ModulationMatrixModel::getRoutesTo (int destination, bool perNote) const
{
    const juce::ScopedLock locked (lock);
    const auto& byDestination = routesByDestination[perNote ? 1 : 0];
    const auto found = byDestination.find (destination);
    return found != byDestination.end() ? found->second : juce::Array<int>();
}

void ModulationMatrixModel::setSourceValues (const std::array<float, numSources>& values)
{
    {
        const juce::ScopedLock locked (lock);
        for (size_t i = 0; i < values.size(); ++i)
            currentValues[i] = finiteOrZero (values[i]);
    }

    sourceValues.sendChangeMessage();
}

float ModulationMatrixModel::getSourceValue (int source) const
{
    const juce::ScopedLock locked (lock);
    return isSource (source) ? currentValues[static_cast<size_t> (source)] : 0.0f;
}

void ModulationMatrixModel::rebuildLookups()
{
    for (auto& list : routesBySource)
        list.clearQuick();

    for (auto& set : destinationsBySource)
        set.clearQuick();

    for (size_t kind = 0; kind < 2; ++kind)
    {
        destinationsByKind[kind].clearQuick();
        routesByDestination[kind].clear();
    }

    for (int i = 0; i < routes.size(); ++i)
    {
        const auto& route = routes.getReference (i);

        if (route.destination < 0 || ! isSource (route.source))
            continue;

        const auto source = static_cast<size_t> (route.source);
        const size_t kind = isPerNoteSource (route.source) ? 1 : 0;
        routesBySource[source].add (i);
        destinationsBySource[source].add (route.destination);
        destinationsByKind[kind].add (route.destination);
        routesByDestination[kind][route.destination].add (i);
    }
}

void ModulationMatrixModel::tellListeners()
{
    // Last added first; a listener may remove itself or another meanwhile.
    for (int i = listeners.size(); --i >= 0;)
        if (i < listeners.size())
            listeners.getUnchecked (i)->modulationRoutesChanged (this);
}

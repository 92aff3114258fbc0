#pragma once

#include <juce_events/juce_events.h>

#include <array>
#include <unordered_map>

// One route of a modulation matrix: a controller source driving a
// destination by a bipolar amount.
struct ModulationRoute
{
    int source = -1;      // 0..8 (see ModulationMatrixModel::getSourceName); -1: none
    int destination = -1; // the owner's destination id; -1: none
    float amount = 0.0f;  // -1..+1

    bool operator== (const ModulationRoute& other) const noexcept
    {
        return source == other.source && destination == other.destination && amount == other.amount;
    }
    bool operator!= (const ModulationRoute& other) const noexcept { return ! operator== (other); }
};

// The routes of a modulation matrix in row order, with lookups by source and
// by destination, and the current value of each source. Another thread may
// read it while the editor changes it: every operation takes the model's
// lock, lists are handed out as copies, and listeners are told with the lock
// held. Locks and copies keep it off the audio thread: a processor takes the
// routes through its own hand-over to the audio side.
//
// Two broadcasters tell a view what to redraw: sourceValues after new
// source values were set, routesReplaced after the whole list of routes was
// replaced (the view then rebuilds its rows). A view's own edits reach the
// listeners only.
class ModulationMatrixModel
{
public:
    static constexpr int numSources = 9;

    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Any thread that changed the routes, with the model's lock held.
        virtual void modulationRoutesChanged (ModulationMatrixModel* model) = 0;
    };

    // "Modulation", "Expression", "Pitch Bend", "Velocity", "Pitch",
    // "Channel Pressure", "Sustain", "Arpe Gate", "Arpe Tie" for 0 to 8;
    // empty text for any other id.
    static juce::String getSourceName (int source);

    // True for the ids of the sources, 0 to 8.
    static bool isSource (int source) noexcept { return source >= 0 && source < numSources; }

    // True for the sources that differ from note to note ("Velocity" and
    // "Pitch"); the others are global.
    static bool isPerNoteSource (int source) noexcept { return source == 3 || source == 4; }

    // Null and listeners already present are refused; told last added first.
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    // Appends a new route {-1, -1, 0}.
    void addRoute();
    // Only an index below the count: removes that route.
    void removeRoute (int index);
    // Only indices below the count: the two routes change places.
    void swapRoutes (int indexA, int indexB);
    // Only an index below the count, and only when the route differs. Here
    // and in replaceRoutes an amount that is not a finite number is taken
    // as 0.
    void setRoute (int index, const ModulationRoute& route);
    // The whole list at once (a preset loaded); told to the listeners and
    // to routesReplaced.
    void replaceRoutes (const juce::Array<ModulationRoute>& newRoutes);

    int getNumRoutes() const;
    // The route at the index; a new route for an index out of range.
    ModulationRoute getRoute (int index) const;

    // The indices of the routes of a source (0..8), and the destinations it
    // drives; empty for any other id. Routes without a destination or a
    // valid source appear in no lookup.
    juce::Array<int> getRoutesOfSource (int source) const;
    juce::SortedSet<int> getDestinationsOfSource (int source) const;
    // The destinations driven by global or by per-note sources, and the
    // indices of the routes that drive one of them from such sources.
    juce::SortedSet<int> getDestinations (bool perNote) const;
    juce::Array<int> getRoutesTo (int destination, bool perNote) const;

    // Source values (-1..+1 as the sources send them; not clamped here, but
    // a value that is not a finite number is taken as 0): setting them tells
    // sourceValues.
    void setSourceValues (const std::array<float, numSources>& values);
    float getSourceValue (int source) const;

    juce::ChangeBroadcaster sourceValues;
    juce::ChangeBroadcaster routesReplaced;

private:
    void rebuildLookups();
    void tellListeners();

    juce::CriticalSection lock;
    juce::Array<Listener*> listeners;
    juce::Array<ModulationRoute> routes;
    std::array<juce::Array<int>, numSources> routesBySource;
    std::array<juce::SortedSet<int>, numSources> destinationsBySource;
    std::array<juce::SortedSet<int>, 2> destinationsByKind;                       // [perNote]
    std::array<std::unordered_map<int, juce::Array<int>>, 2> routesByDestination; // [perNote]
    std::array<float, numSources> currentValues {};
};

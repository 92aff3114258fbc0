#include "toolkit/windows/OwnerWatch.h"

#include "toolkit/windows/NativeWindow.h"

namespace
{
constexpr int screenCheckIntervalMs = 100;
} // namespace

OwnerWatch::OwnerWatch (juce::Component& ownerToWatch, Ends endsWhen, std::function<void()> onEnd)
    : owner (&ownerToWatch), ends (endsWhen), ownerWasShowing (ownerToWatch.isShowing()), ended (std::move (onEnd))
{
    listenTo (ownerAndParents());

    if (ends == Ends::whenGoneOrMoved)
    {
        topLevel = ownerToWatch.getTopLevelComponent();
        placeInTopLevel = topLevel->getLocalArea (&ownerToWatch, ownerToWatch.getLocalBounds());
        windowOnScreen = windowScreenPosition (ownerToWatch);
        startTimer (screenCheckIntervalMs);
    }
}

OwnerWatch::~OwnerWatch()
{
    stopListening();
}

juce::Array<juce::Component*> OwnerWatch::ownerAndParents() const
{
    juce::Array<juce::Component*> chain;

    for (auto* component = owner.getComponent(); component != nullptr; component = component->getParentComponent())
        chain.add (component);

    return chain;
}

void OwnerWatch::listenTo (const juce::Array<juce::Component*>& components)
{
    for (auto* component : components)
    {
        component->addComponentListener (this);
        watched.add (component);
    }
}

void OwnerWatch::stopListening()
{
    stopTimer();
    forgetChain();
}

void OwnerWatch::forgetChain()
{
    for (auto& component : watched)
        if (component != nullptr)
            component->removeComponentListener (this);

    watched.clear();
}

void OwnerWatch::componentMovedOrResized (juce::Component&, bool, bool)
{
    check (false);
}

void OwnerWatch::componentVisibilityChanged (juce::Component&)
{
    check (false);
}

void OwnerWatch::componentParentHierarchyChanged (juce::Component&)
{
    // Given other parents and still showing, the owner is followed there.
    // Each component of the chain hears of the change: only the first that
    // finds the chain new listens anew, so no list gains us while it calls us.
    const auto chain = ownerAndParents();
    juce::Array<juce::Component*> listenedTo;

    for (auto& component : watched)
        listenedTo.add (component.getComponent());

    if (chain != listenedTo)
    {
        forgetChain();
        listenTo (chain);
    }

    check (false);
}

void OwnerWatch::componentBeingDeleted (juce::Component&)
{
    // The owner, or a parent that the owner leaves now.
    end();
}

void OwnerWatch::timerCallback()
{
    check (true);
}

void OwnerWatch::check (bool askTheServer)
{
    if (owner == nullptr || (ownerWasShowing && ! owner->isShowing()) || (ends == Ends::whenGoneOrMoved && hasMoved (askTheServer)))
        end();
}

bool OwnerWatch::hasMoved (bool askTheServer) const
{
    auto* top = owner->getTopLevelComponent();

    if (top != topLevel || top->getLocalArea (owner, owner->getLocalBounds()) != placeInTopLevel)
        return true;

    return askTheServer && windowScreenPosition (*owner) != windowOnScreen;
}

void OwnerWatch::end()
{
    stopListening();

    // Last: the call may delete the watch.
    if (auto callback = std::exchange (ended, nullptr))
        callback();
}

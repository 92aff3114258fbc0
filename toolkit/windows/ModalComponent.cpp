#include "toolkit/windows/ModalComponent.h"

#include "toolkit/windows/Tooltips.h"

ModalComponent::CoveringWindow::CoveringWindow (ModalComponent& modalOwner)
    : juce::Component ("ModalCover"), owner (modalOwner)
{
}

void ModalComponent::CoveringWindow::fillParent()
{
    if (auto* parent = getParentComponent())
        setBounds (parent->getLocalBounds());
}

void ModalComponent::CoveringWindow::parentHierarchyChanged() { fillParent(); }
void ModalComponent::CoveringWindow::parentSizeChanged() { fillParent(); }
void ModalComponent::CoveringWindow::resized() { owner.updatePosition(); }

void ModalComponent::CoveringWindow::paint (juce::Graphics& g)
{
    if (owner.shouldDimBackground())
        g.fillAll (juce::Colours::white.withAlpha (0.25f));
}

ModalComponent::ModalComponent (const juce::String& name)
    : juce::Component (name)
{
}

ModalComponent::~ModalComponent()
{
    // Leave the covering window before it (a member) is destroyed, so that no
    // hierarchy callback reaches a half-destroyed cover.
    if (isInCoveringWindow())
        coveringWindow.removeChildComponent (this);

    detachFromDesktop();
}

bool ModalComponent::isInCoveringWindow() const
{
    return getParentComponent() == &coveringWindow;
}

void ModalComponent::attachToDesktop()
{
    if (isInCoveringWindow() && coveringWindow.getParentComponent() != nullptr)
        return;

    // The search starts at the parent: a component cannot sit inside its own
    // covering window.
    juce::Component* desktop = nullptr;

    for (auto* c = getParentComponent(); c != nullptr && desktop == nullptr; c = c->getParentComponent())
        if (c != &coveringWindow && dynamic_cast<Desktop*> (c) != nullptr)
            desktop = c;

    if (desktop == nullptr)
        return;

    // Into the cover first, then the cover onto the Desktop: moving out of the
    // old parent would otherwise take the freshly added cover away again.
    coveringWindow.addChildComponent (this);
    desktop->addChildComponent (coveringWindow);
    coveringWindow.setVisible (false);
    coveringWindow.toBack();
}

void ModalComponent::detachFromDesktop()
{
    if (auto* desktop = coveringWindow.getParentComponent())
        desktop->removeChildComponent (&coveringWindow);
}

void ModalComponent::placeAt (int placementMode, juce::Point<int> position)
{
    placement = placementMode;
    positionX = position.x;
    positionY = position.y;
    coveringWindow.setVisible (true);
    coveringWindow.toFront (false);
    updatePosition();
}

void ModalComponent::show()
{
    hideTooltipsOver (*this);
    attachToDesktop();

    if (coveringWindow.getParentComponent() != nullptr && ! coveringWindow.isVisible())
        placeAt (centredInModalArea, {});

    setVisible (true);

    if (getWantsKeyboardFocus() && isEnabled())
        grabKeyboardFocus();
}

void ModalComponent::showAt (int placementMode, juce::Point<int> position, juce::Component* reference)
{
    hideTooltipsOver (*this);
    attachToDesktop();

    if (coveringWindow.getParentComponent() != nullptr && ! coveringWindow.isVisible())
        placeAt (placementMode, reference != nullptr ? coveringWindow.getLocalPoint (reference, position) : position);

    setVisible (true);
}

void ModalComponent::hide()
{
    // Hidden with the focus, a component passes it on to the first control
    // beneath that takes it, which would then catch the next key.
    if (hasKeyboardFocus (true))
        giveAwayKeyboardFocus();

    if (coveringWindow.getParentComponent() != nullptr && coveringWindow.isVisible())
    {
        coveringWindow.setVisible (false);
        coveringWindow.toBack();
    }

    setVisible (false);
}

juce::Rectangle<int> ModalComponent::getCoveringBounds() const
{
    return coveringWindow.getLocalBounds();
}

void ModalComponent::updatePosition()
{
    if (placement == atStoredPosition)
    {
        setBounds (positionX, positionY, getWidth(), getHeight());
        return;
    }

    if (! isInCoveringWindow())
        return;

    if (auto* desktop = dynamic_cast<Desktop*> (coveringWindow.getParentComponent()))
    {
        const auto area = desktop->getModalArea();
        setBounds (area.getX() + area.getWidth() / 2 - getWidth() / 2,
                   area.getY() + area.getHeight() / 2 - getHeight() / 2,
                   getWidth(), getHeight());
    }
}

void ModalComponent::resized()
{
    updatePosition();
}

void ModalComponent::parentHierarchyChanged()
{
    if (! isInCoveringWindow())
        detachFromDesktop();
}

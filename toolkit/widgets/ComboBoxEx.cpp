#include "toolkit/widgets/ComboBoxEx.h"

#include "toolkit/lookandfeel/ToolkitDrawing.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

ComboBoxEx::ComboBoxEx()
    : font (toolkit::makeFont (13.0f))
{
    refreshText();
}

ComboBoxEx::~ComboBoxEx() = default;

void ComboBoxEx::setSelectedId (int id, bool notify)
{
    const bool changed = id != selectedId;
    selectedId = id;
    refreshText();

    if (! changed || ! notify)
        return;

    const juce::Component::BailOutChecker checker (this);
    listeners.callChecked (checker, [this] (Listener& l) { l.comboBoxExChanged (this); });

    if (! checker.shouldBailOut())
        getBinding().writeInt (selectedId);
}

void ComboBoxEx::refreshText()
{
    const auto* item = menu.findItem (selectedId);
    const auto newText = item != nullptr ? item->text : juce::String ("---");
    const bool newItalic = item == nullptr || ! item->enabled;

    if (newText != text || newItalic != italic)
    {
        text = newText;
        italic = newItalic;
        repaint();
    }

    menu.tickItem (selectedId);
}

void ComboBoxEx::setMenuOpen (bool isOpen)
{
    menuOpen = isOpen;
    repaint();
}

void ComboBoxEx::setExternalMenu (PopupMenuEx* externalMenu)
{
    menu.setExternalMenu (externalMenu);
    refreshText();
}

void ComboBoxEx::addListener (Listener* listener) { listeners.add (listener); }
void ComboBoxEx::removeListener (Listener* listener) { listeners.remove (listener); }

void ComboBoxEx::mouseDown (const juce::MouseEvent&)
{
    refreshText();
    menu.showBelow (*this);
    setMenuOpen (true);
}

void ComboBoxEx::popupMenuItemChosen (PopupMenuEx* answering, int itemId, bool)
{
    const auto answer = menu.takeAnswer (answering);

    if (answer == ComboMenu::Answer::notOurs)
        return;

    if (answer == ComboMenu::Answer::fromActiveMenu && itemId != selectedId)
    {
        const juce::Component::SafePointer<ComboBoxEx> alive (this);
        setSelectedId (itemId, true);

        if (alive == nullptr)
            return;
    }

    setMenuOpen (false);
}

void ComboBoxEx::popupMenuDismissed (PopupMenuEx* answering)
{
    if (menu.takeAnswer (answering) != ComboMenu::Answer::notOurs)
        setMenuOpen (false);
}

void ComboBoxEx::updateFromParameter (Parameter* parameter)
{
    if (parameter == nullptr || parameter->getInt() == selectedId)
        return;

    selectedId = parameter->getInt();
    refreshText();
}

void ComboBoxEx::resized()
{
    const float x = (float) getWidth() - 4.0f - 3.5f;
    const float y = (float) getHeight() / 2.0f;

    arrow.clear();
    arrow.addTriangle (x - 3.0f, y - 3.0f, x + 3.0f, y - 3.0f, x, y + 3.0f);
}

void ComboBoxEx::paint (juce::Graphics& g)
{
    const auto frame = getLocalBounds().toFloat().reduced (1.0f);
    g.setColour (juce::Colour (0xffe3e3e3));
    toolkit::fillRoundedRectangle (g, frame, 4.0f);
    g.setColour (menuOpen ? juce::Colour (0xffff4500).withAlpha (0.75f) : juce::Colours::white);
    toolkit::strokeRoundedRectangle (g, frame, 4.0f, 1.0f);

    {
        // The embedded family has no italic face: the text is slanted instead,
        // about its vertical centre so that it keeps its place.
        const juce::Graphics::ScopedSaveState state (g);

        if (italic)
            g.addTransform (juce::AffineTransform::shear (-0.2f, 0.0f)
                                .translated (0.2f * (float) getHeight() / 2.0f, 0.0f));

        g.setColour (juce::Colours::black);
        g.setFont (font);
        g.drawText (text, 4, 0, juce::jmax (0, getWidth() - 4), getHeight(), juce::Justification::centredLeft, false);
    }

    g.setColour (juce::Colours::black.withAlpha (0.75f));
    g.fillRect (getWidth() - 13, 2, 1, juce::jmax (0, getHeight() - 4));
    g.setColour (juce::Colours::black);
    g.fillPath (arrow);
}

#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A file path in a rounded box with a "Browse" button at its right. The
// button opens a file dialog (the component's FileDialogs); a chosen file
// becomes the path. A path too long for its box is cut at its right end,
// where "[...]" is shown faintly. Letter case counts in paths where the file
// system's names are case-sensitive. Message thread.
class PathComponent : public juce::Component,
                      public juce::Button::Listener
{
public:
    enum ColourIds
    {
        backgroundColourId = 0x0F002200,
        textColourId = 0x0F002201,
        outlineColourId = 0x0F002202 // transparent: no box is drawn
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the path changed by the dialog or a notifying setPath.
        virtual void pathChanged (PathComponent* pathComponent) = 0;
    };

    static constexpr int buttonGap = 6; // pixels between the box and the button

    PathComponent();
    ~PathComponent() override;

    // Nothing happens for the path already shown. With notify, the listeners
    // hear of the change, last added first.
    void setPath (const juce::String& newPath, bool notify);
    const juce::String& getPath() const noexcept { return path; }

    // What the dialog shows: its title, the folder (or file) it starts at
    // (when none is set: the current path) and its wildcards ("*.xrccmap").
    void setChooserTitle (const juce::String& title);
    void setInitialLocation (const juce::File& location);
    void setFilePatterns (const juce::String& patterns);

    // Null and listeners already present are refused.
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    juce::TextButton& getBrowseButton() noexcept { return browseButton; }
    juce::Rectangle<int> getBoxArea() const noexcept { return boxArea; }
    juce::Rectangle<int> getTextArea() const noexcept { return textArea; }
    // True when the path fits its box and is drawn whole, without "[...]".
    bool isPathShownWhole() const noexcept;

    void lookAndFeelChanged() override;
    void enablementChanged() override;
    void paint (juce::Graphics& g) override;
    void resized() override;
    // Message thread: "Browse" opens the dialog.
    void buttonClicked (juce::Button* button) override;

private:
    void measurePath();

    int pathWidth = 0;     // pixels, in the font
    int ellipsisWidth = 0; // pixels, in the font
    juce::String chooserTitle;
    juce::File initialLocation;
    juce::String filePatterns;
    juce::String path;
    juce::TextButton browseButton { "Browse" };
    juce::Font font;
    juce::Rectangle<int> boxArea, textArea;
    const juce::String ellipsis { "[...]" };
    juce::ListenerList<Listener> listeners;
    bool browsing = false; // a dialog of this component is open

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PathComponent)
};

#pragma once

#include "toolkit/windows/TextButtonEx.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>

// The toolkit's artwork, drawn by this code from paths: toolbar icons, the
// images of icon buttons and window buttons, the close button and the
// window title icon. Message thread.
namespace toolkit
{
// Icons are drawn black on a transparent 24 x 24 box, so a caller can
// recolour them with juce::Drawable::replaceColour.
constexpr int iconBoxSize = 24;

// The icon of an id as a drawable: ids 0 to 8, 13 to 16 and 18 to 21 (the
// icons of image buttons) and 24 to 28 (record, speaker, tag, user, info).
// Null for any other id, negative ones included.
std::unique_ptr<juce::Drawable> getToolbarIcon (int iconId);

// True for the ids that have image-button images (0 to 8, 13 to 16, 18 to 21).
bool hasIconImages (int iconId);

// One image of an icon button: the normal or the highlighted (mouse over or
// down) look; style 2 is the light set for dark backgrounds, any other style
// the dark set. An invalid image for an id without images.
juce::Image getIconImage (int iconId, int style, bool highlighted);

// The seven pieces of a window button of a style (left cap, middle and
// right cap up, the same down, and the middle disabled): styles 0 and 1
// share one set, style 2 is larger; none for other styles.
std::optional<TextButtonEx::Images> getWindowButtonImages (int style);

// The close button's cross in a ring, black on transparent.
std::unique_ptr<juce::Drawable> createCloseButtonDrawing();
// The cross in white, and in the orange accent while the mouse is over it.
void setCloseButtonDrawings (juce::DrawableButton& closeButton);

// The mark at the left of a window's title bar.
std::unique_ptr<juce::Drawable> createWindowTitleIcon();
} // namespace toolkit

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

#include <gtest/gtest.h>

// Whatever fonts the machine has, toolkit text is the embedded family with its
// own metrics (a missing system font would report an ascent of the full height).
TEST (ToolkitFonts, AreTheEmbeddedFamilyWithItsOwnMetrics)
{
    for (const bool bold : { false, true })
    {
        const auto font = toolkit::makeFont (13.0f, bold);
        EXPECT_EQ (font.getTypefaceName(), "DejaVu Sans");
        EXPECT_EQ (font.isBold(), bold);
        EXPECT_FLOAT_EQ (font.getHeight(), 13.0f);
        EXPECT_GT (font.getAscent(), 8.0f);
        EXPECT_LT (font.getAscent(), 13.0f);
        EXPECT_GT (font.getStringWidthFloat ("Pulsetta"), 40.0f);
    }

    EXPECT_GT (toolkit::makeFont (13.0f, true).getStringWidthFloat ("Pulsetta"),
               toolkit::makeFont (13.0f, false).getStringWidthFloat ("Pulsetta"));
    EXPECT_EQ (toolkit::getEmbeddedTypeface (juce::Font ("Tahoma", 13.0f, juce::Font::bold)),
               toolkit::getEmbeddedTypeface (true));
}

// Labels, combo boxes and text buttons draw in the regular embedded font
// whatever font they hold, and the look and feel answers for any family the
// skins name.
TEST (ToolkitFonts, WidgetsDrawInTheRegularFontOfTheLookAndFeel)
{
    DefaultLookAndFeel lookAndFeel;
    const auto tahoma = juce::Font ("Tahoma", 20.0f, juce::Font::bold);

    juce::Label label ({}, "Tempo");
    label.setFont (tahoma);
    juce::ComboBox box;
    juce::TextButton button ("OK");

    for (const auto& font : { lookAndFeel.getLabelFont (label), lookAndFeel.getComboBoxFont (box),
                              lookAndFeel.getTextButtonFont (button, 40) })
    {
        EXPECT_EQ (font.getTypefaceName(), "DejaVu Sans");
        EXPECT_FALSE (font.isBold());
        EXPECT_FLOAT_EQ (font.getHeight(), 13.0f);
    }

    EXPECT_EQ (lookAndFeel.getTypefaceForFont (tahoma), toolkit::getEmbeddedTypeface (true));
    EXPECT_EQ (lookAndFeel.getTypefaceForFont (juce::Font ("Tahoma", 13.0f, juce::Font::plain)), toolkit::getEmbeddedTypeface (false));
}

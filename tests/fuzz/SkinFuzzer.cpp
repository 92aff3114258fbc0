// libFuzzer target for the skin reader: each input is a skin document read as
// a skin package's is (through the XML guard), over the built-in skin's
// images and a real product's parameters and events. Whatever it holds, the
// main panel builds or is refused with a reason, and a panel that builds
// paints; the sanitizers watch both.
//
// PULSETTA_FUZZ_WRITE_SEED=<file> writes the built-in skin document to the
// file and exits: the seed corpus starts from there.
#include "framework/core/ResourceImages.h"
#include "framework/core/ResourceLoader.h"
#include "framework/core/XmlGuard.h"
#include "framework/processor/BasePlugin.h"
#include "tests/fuzz/FuzzedPanel.h"
#include "tests/support/TemporaryUserFolders.h"
#include "toolkit/skin/PanelFromXml.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <cstdlib>
#include <map>

juce::AudioProcessor* createPluginFilter();

namespace
{
// The skin as the editor reads the built-in one: embedded images (each
// decoded once for the whole run), the product's parameters and events.
class ProductSkin : public SkinContext
{
public:
    explicit ProductSkin (BasePlugin& p) : product (p) {}

    juce::Image getImage (const juce::String& name) override
    {
        const auto found = images.find (name);

        if (found != images.end())
            return found->second;

        return images[name] = getResourceAsImage (name);
    }

    Parameter* getParameterByName (const juce::String& name) override { return product.getParameterManager().getParameterByName (name); }
    int getEventId (const juce::String& name) override { return product.getEventsMap().getUid (name); }
    juce::String getEventDisplayName (int id) override { return product.getEventsMap().getDisplayName (id); }

private:
    BasePlugin& product;
    std::map<juce::String, juce::Image> images;
};

struct Session : testing_support::TemporaryUserFolders
{
    Session() : TemporaryUserFolders ("pulsetta-fuzz-skin-")
    {
        product.reset (dynamic_cast<BasePlugin*> (createPluginFilter()));
        skin = std::make_unique<ProductSkin> (*product);
        editor.setBounds (0, 0, 1024, 640);
    }

    juce::ScopedJuceInitialiser_GUI juce;
    std::unique_ptr<BasePlugin> product;
    std::unique_ptr<ProductSkin> skin;
    juce::Component editor; // a sized parent: with no display a parentless component may not ask for its screen
};

Session* session = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    session = new Session(); // lives as long as the process: libFuzzer exits without unwinding

    if (const char* seed = std::getenv ("PULSETTA_FUZZ_WRITE_SEED"))
    {
        const bool written = juce::File (seed).replaceWithText (getResourceAsString ("skin.xml"), false, false, "\n");
        std::fprintf (stderr, "skin seed %s: %s\n", seed, written ? "written" : "FAILED");
        std::exit (written ? 0 : 1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto root = xmlguard::parse (reinterpret_cast<const char*> (data), size);

    if (root == nullptr)
        return 0;

    auto build = toolkit::createPanelFromXml (*root, *session->skin, session->product->getPluginName());
    fuzzing::checkAndPaint (build, session->editor);
    return 0;
}

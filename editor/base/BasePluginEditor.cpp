#include "editor/base/BasePluginEditor.h"

#include "editor/base/AboutWindow.h"
#include "editor/pages/ProcessingSettingsComponent.h"
#include "framework/core/IntParameter.h"
#include "framework/core/ResourceImages.h"
#include "framework/core/XmlTags.h"
#include "framework/presets/XmlFiles.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/GFXPanel.h"

namespace
{
constexpr int initialWidth = 800, initialHeight = 600;   // pixels, before a skin sets the size
constexpr int aboutWidth = 640, aboutHeight = 480;       // pixels
constexpr int optionsWidth = 800, optionsHeight = 600;   // pixels
constexpr int buildLabelWidth = 400;                     // pixels, at the status bar's right
constexpr float fallbackNameHeight = 80.0f;              // pixels
} // namespace

BasePluginEditor::BasePluginEditor (BasePlugin& processorToEdit)
    : processor (processorToEdit),
      midiControlPage (processorToEdit.getMidiControl(), MidiControl::getMapFileExtension (processorToEdit.getResourcePrefix()),
                       MidiControl::getMapFilePattern (processorToEdit.getResourcePrefix())),
      hostParametersPage (processorToEdit),
      presetsSettingsPage (processorToEdit)
{
    // The "Default map" box offers the user's own map when there is none yet.
    if (processor.getHostParametersMapFile() == juce::File())
        hostParametersPage.setDefaultMapFile (processor.getUserDataFolder().getChildFile (
            "default" + HostParameterMap::getFileExtension (processor.getResourcePrefix())));

    makerLogo = getResourceAsImage ("KyxLogo.png");
    pluginLogo = getResourceAsImage ("PluginLogo.png");
    tooltipWindow = std::make_unique<juce::TooltipWindow> (this);

    statusBar = std::make_unique<StatusBar>();
    addAndMakeVisible (*statusBar);

    aboutWindow = std::make_unique<AboutWindow> (processor);
    aboutWindow->setSize (aboutWidth, aboutHeight);
    addChildComponent (*aboutWindow);

    optionsWindow = std::make_unique<OptionsWindow>();
    optionsWindow->setTitle ("Options");
    optionsWindow->setSize (optionsWidth, optionsHeight);
    addChildComponent (*optionsWindow);
    optionsWindow->getTabs().addListener (this);
    presetSaver = std::make_unique<FileSaver> (*this);

    // A drum machine keeps its presets and host slots its own way.
    if (! processor.isDrumMachine())
    {
        addOptionsTab ("Presets", presetsSettingsPage);
        addOptionsTab ("Parameters", hostParametersPage);
    }

    midiControlPage.getDefaultMapCheckBox().addListener (this);
    processor.getMidiControl().addListener (this);
    addOptionsTab ("Midi Control", midiControlPage);
    processor.getParameterManager().addAsyncListenerToAll (this);

    // Once every child is in: each hears of the look and feel it now draws with.
    setLookAndFeel (&lookAndFeel);

    setEditorSize (initialWidth, initialHeight);
    loadSkin ({});
    showBuildLabelIfNeeded();
    processor.addListener (this);
}

BasePluginEditor::~BasePluginEditor()
{
    stopTimer();
    processor.removeListener (this);
    processor.getMidiControl().removeListener (this);
    processor.getParameterManager().removeAsyncListenerFromAll (this);
    midiControlPage.getDefaultMapCheckBox().removeListener (this);
    optionsWindow->getTabs().removeListener (this);

    if (guiPage != nullptr)
        guiPage->removeListener (this);

    // The skin's controls unbind from their parameters before anything else goes.
    mainPanel.reset();
    genericControls.clear();
    setLookAndFeel (nullptr);
}

void BasePluginEditor::addOptionsTab (const juce::String& name, juce::Component& page, int insertIndex)
{
    optionsWindow->getTabs().addTab (name, juce::Colour (tabColour), &page, false, insertIndex);
    page.sendLookAndFeelChange(); // a component added later is not told of the look and feel it inherits
}

void BasePluginEditor::showBuildLabelIfNeeded()
{
    const auto branch = processor.getBranch();

    if (branch == "master")
        return;

    const auto tag = processor.getVersionText();
    const auto shownBranch = branch.contains ("release") && tag.isNotEmpty() ? tag : branch;
    buildLabel.setText (processor.getPluginFormat() + " | " + processor.getPlatform() + " | " + shownBranch + " | "
                            + processor.getBuildDate() + " | " + processor.getBuildNumber(),
                        juce::dontSendNotification);
    buildLabel.setFont (toolkit::makeFont (11.0f));
    buildLabel.setJustificationType (juce::Justification::centredRight);
    buildLabel.addMouseListener (this, false);
    addAndMakeVisible (buildLabel);
    layoutStatusBar();
}

//==============================================================================
void BasePluginEditor::initialise()
{
    const auto settings = xmlfiles::readDocument (processor.getUserSettingsFile());

    if (processor.isUserSettingsXml (settings.get()))
        if (auto* element = findChildWithTag (settings.get(), getSettingsTagName()))
            loadSettingsXml (*element);

    if (! processor.isDrumMachine())
    {
        processingPage = createProcessingSettingsComponent();
        auto& parameters = processor.getParameterManager();
        auto* realtime = dynamic_cast<EnumParameter*> (parameters.getParameter (processor.getRealtimeQualityParameterId()));
        auto* offline = dynamic_cast<EnumParameter*> (parameters.getParameter (processor.getOfflineQualityParameterId()));
        auto* defaultRealtime = dynamic_cast<EnumParameter*> (parameters.getParameter (processor.getDefaultRealtimeQualityParameterId()));
        auto* defaultOffline = dynamic_cast<EnumParameter*> (parameters.getParameter (processor.getDefaultOfflineQualityParameterId()));

        if (realtime != nullptr && offline != nullptr && defaultRealtime != nullptr && defaultOffline != nullptr)
            processingPage->bindParameters (*defaultRealtime, *defaultOffline, *realtime, *offline);

        addOptionsTab ("Processing", *processingPage, 0);
        optionsWindow->getTabs().setCurrentTabIndex (0);
    }

    if (skinSelection)
        initialiseSkinSelection();

    if (usesGenericControls() && mainPanel == nullptr)
        buildGenericControls();

    if (processor.isDebugMode())
        if ((debugPanel = createDebugPanel()) != nullptr)
            addAndMakeVisible (*debugPanel);
}

std::unique_ptr<ProcessingSettingsComponent> BasePluginEditor::createProcessingSettingsComponent()
{
    return std::make_unique<ProcessingSettingsComponent>();
}

//==============================================================================
void BasePluginEditor::controllerValueChanged (GUIController* controller)
{
    reportBoundParameter (controller);
}

void BasePluginEditor::reportBoundParameter (GUIController* controller)
{
    if (auto* parameter = controller != nullptr ? controller->getBoundParameter() : nullptr)
    {
        offerParameterForMidiLearn (parameter);
        showParameterInStatusBar (parameter, parameterPriority);
    }
}

void BasePluginEditor::controllerEventFired (GUIController* controller, int eventId)
{
    switch (eventId)
    {
        case BasePlugin::optionsCommand:
            showOptions();
            return;

        case BasePlugin::aboutCommand:
            aboutWindow->show();
            return;

        case BasePlugin::selectNextPresetCommand:
            stepPreset (1);
            return;

        case BasePlugin::selectPreviousPresetCommand:
            stepPreset (-1);
            return;

        case BasePlugin::browsePresetsCommand:
            showPresetBrowser();
            return;

        case BasePlugin::savePresetCommand:
            savePreset (presetsCollectionName);
            return;

        case BasePlugin::savePresetAsCommand:
            savePresetAs (presetsCollectionName);
            return;

        case BasePlugin::toggleMidiLearnCommand:
            toggleMidiLearn();
            return;

        default:
            break;
    }

    processor.handleEvent (eventId);
    reportBoundParameter (controller);
}

void BasePluginEditor::showOptions()
{
    optionsWindow->show();
    statusBar->clearMessage (-1);
}

void BasePluginEditor::toggleMidiLearn()
{
    auto& control = processor.getMidiControl();
    control.setLearnMode (! control.isLearnModeOn());
}

void BasePluginEditor::offerParameterForMidiLearn (Parameter* parameter)
{
    auto& control = processor.getMidiControl();

    if (parameter != nullptr && parameter->isAutomatable() && control.isLearnModeOn())
        control.setLearnParameter (parameter);
}

void BasePluginEditor::showParameterInStatusBar (Parameter* parameter, int priority)
{
    if (parameter == nullptr)
        return;

    const auto text = processor.getParameterTextById (parameter->getId());

    if (text.isEmpty())
        return;

    const auto name = processor.getParameterNameById (parameter->getId());
    statusBar->showTimedMessage (text == "@" ? name : name + ": " + text, priority);
}

//==============================================================================
void BasePluginEditor::midiLearnStateChanged (MidiControl& control)
{
    const bool learning = control.isLearnModeOn();

    if (learning)
    {
        const int controller = control.getLearnController();
        auto* parameter = control.getLearnParameter();
        const auto parameterName = parameter != nullptr ? parameter->getName() : juce::String();
        juce::String prompt;

        if (controller < 0 && parameter == nullptr)
            prompt = "Waiting for a controller or parameter movement...";
        else if (controller < 0)
            prompt = "'" + parameterName + "' parameter is free. Waiting for a free controller now...";
        else if (parameter == nullptr)
            prompt = "CC# " + juce::String (controller) + " is free. Waiting for a parameter now...";
        else
            prompt = "CC# " + juce::String (controller) + " is assigned to parameter '" + parameterName + "'.";

        statusBar->showMessage (prompt, midiLearnPriority);
    }
    else
    {
        statusBar->clearMessage (-1);
    }

    updateMidiLearnButton (learning);
}

void BasePluginEditor::updateMidiLearnButton (bool learning)
{
    if (midiLearnButton == nullptr)
        return;

    midiLearnButton->setButtonStateIndex (learning ? 1 : 0);

    if (learning)
    {
        midiLearnButton->setBlinkPeriod (midiLearnBlinkMs);
        midiLearnButton->startBlinking();
    }
    else
    {
        midiLearnButton->stopBlinking();
    }
}

void BasePluginEditor::midiControllerMoved (MidiControl& control)
{
    showParameterInStatusBar (control.getLastMovedParameter(), midiControllerPriority);
}

void BasePluginEditor::defaultResourceChanged (DefaultResourceCheckBox* checkBox)
{
    if (checkBox == &midiControlPage.getDefaultMapCheckBox())
        statusBar->showMessage (juce::String ("Default Map") + " settings will be affected when plugin is loaded.", settingsPriority);
}

void BasePluginEditor::tabbedComponentChanged (TabbedComponentEx* tabs)
{
    if (tabs == &optionsWindow->getTabs())
        statusBar->clearMessage (-1);
}

void BasePluginEditor::processingModeChanged (BasePlugin& plugin)
{
    const bool offline = plugin.isNonRealtime();
    const int id = offline ? plugin.getOfflineQualityParameterId() : plugin.getRealtimeQualityParameterId();
    const auto quality = plugin.getParameterTextById (id);
    const juce::String mode (offline ? "Offline processing" : "Realtime processing");

    // A processor without quality parameters has only the mode to tell.
    statusBar->showTimedMessage (quality.isEmpty() ? mode : mode + ": " + quality, settingsPriority);
}

//==============================================================================
void BasePluginEditor::timerCallback()
{
    if (isVisible())
        timerUpdate();
}

void BasePluginEditor::timerUpdate()
{
    takeSkinRequest();
    lightMidiLampOnActivity();
}

void BasePluginEditor::lightMidiLampOnActivity()
{
    // Each message relights it for the whole time: it stays lit while MIDI
    // keeps coming and goes dark that long after the last.
    if (midiActivityLed != nullptr && processor.takeMidiActivity())
        midiActivityLed->flash (midiLampMs);
}

//==============================================================================
void BasePluginEditor::setEditorSize (int width, int height)
{
    contentHeight = height;
    const int statusBarHeight = statusBar != nullptr && hasStatusBar() ? statusBar->getHeight() : 0;
    setSize (width, contentHeight + statusBarHeight);
    layoutStatusBar();

    if (auto* parent = getParentComponent())
        parent->setSize (getWidth(), getHeight());
}

void BasePluginEditor::layoutStatusBar()
{
    if (statusBar == nullptr)
        return;

    const int labelWidth = buildLabel.isVisible() ? buildLabelWidth : 0;
    statusBar->setBounds (0, contentHeight, juce::jmax (0, getWidth() - labelWidth), statusBar->getHeight());
    buildLabel.setBounds (statusBar->getRight(), contentHeight, labelWidth, statusBar->getHeight());
    statusBar->toFront (false);
}

void BasePluginEditor::resized()
{
    layoutStatusBar();
    repaint();
}

void BasePluginEditor::childBoundsChanged (juce::Component* child)
{
    if (statusBar != nullptr && child == statusBar.get())
        setEditorSize (getWidth(), contentHeight);
}

juce::Rectangle<int> BasePluginEditor::getModalArea()
{
    const auto bounds = getLocalBounds();
    return statusBar != nullptr && hasStatusBar() ? bounds.withHeight (contentHeight) : bounds;
}

void BasePluginEditor::mouseDown (const juce::MouseEvent& event)
{
    if (event.eventComponent == &buildLabel)
        statusBar->showTimedMessage (buildLabel.getText(), skinPriority);
}

void BasePluginEditor::paint (juce::Graphics& g)
{
    const auto content = getLocalBounds().withHeight (contentHeight);
    g.fillAll (findColour (WindowComponent::backgroundColourId));

    if (! usesGenericControls() && pluginLogo.isValid())
    {
        g.drawImageAt (pluginLogo, content.getCentreX() - pluginLogo.getWidth() / 2, content.getCentreY() - pluginLogo.getHeight() / 2);
        return;
    }

    g.setColour (findColour (DefaultLookAndFeel::textColourId));
    g.setFont (usesGenericControls() ? toolkit::makeFont (20.0f, true) : toolkit::makeFont (fallbackNameHeight, true));
    g.drawText (processor.getPluginName(), usesGenericControls() ? content.withHeight (30) : content,
                juce::Justification::centred, true);
}

juce::Component* BasePluginEditor::findControlByName (juce::Component* component, const juce::String& name)
{
    if (component == nullptr)
        return nullptr;

    for (auto* child : component->getChildren())
        if (child->getName() == name)
            return child;

    for (auto* child : component->getChildren())
        if (auto* found = findControlByName (child, name))
            return found;

    return nullptr;
}

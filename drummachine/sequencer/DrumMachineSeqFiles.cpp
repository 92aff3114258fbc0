// Pattern files, pattern bank files, the factory bank and the patterns section
// of the plug-in state. Message thread.

#include "drummachine/sequencer/DrumMachineSeq.h"

#include <functional>

#include "drummachine/sequencer/PatternXml.h"
#include "framework/core/XmlGuard.h"
#include "framework/core/XmlTags.h"
#include "framework/core/ResourceLoader.h"

namespace
{
juce::String extensionList (const juce::String& main, int numAlternatives, const std::function<juce::String (int)>& alternative)
{
    juce::String list (main);
    for (int i = 0; i < numAlternatives; ++i)
        list << "; " << alternative (i);
    return list;
}

bool isValidBankType (int type)
{
    return type == DrumMachineSeq::nativeBank || type == DrumMachineSeq::hostBank || type == DrumMachineSeq::singleBank;
}
} // namespace

juce::String DrumMachineSeq::getPatternFileExtension() const
{
    return "." + (resourcePrefix + "ptr").toLowerCase();
}

juce::String DrumMachineSeq::getPatternFileExtensions() const
{
    return extensionList (getPatternFileExtension(), getNumAlternativePatternExtensions(),
                          [this] (int i) { return getAlternativePatternExtension (i); });
}

juce::String DrumMachineSeq::getBankFileExtension (int type) const
{
    const auto main = "." + (resourcePrefix + "ptrb").toLowerCase();
    if (type == nativeBank)
        return main + "N";
    if (type == hostBank)
        return main + "H";
    return main;
}

juce::String DrumMachineSeq::getBankFileExtensions (int type) const
{
    return extensionList (getBankFileExtension (type), getNumAlternativeBankExtensions(),
                          [this] (int i) { return getAlternativeBankExtension (i); });
}

bool DrumMachineSeq::isPatternXml (const juce::XmlElement& element, int) const
{
    return tagIs (&element, "Pattern") && element.getStringAttribute ("application") == applicationName;
}

bool DrumMachineSeq::readPatternXml (const juce::XmlElement& element, int index, int type)
{
    if (! isPatternXml (element, type) || findPattern (index) == nullptr)
        return false;

    const Pattern parsed = PatternXml::read (element); // parsed before the guard is taken
    const PatternRewriteScope guard (owner);
    return writePatternRecord (index, parsed);
}

std::unique_ptr<juce::XmlElement> DrumMachineSeq::createPatternXml (int index, int) const
{
    if (const auto* pattern = findPattern (index))
        return PatternXml::create (*pattern, applicationName);
    return nullptr;
}

bool DrumMachineSeq::isBankXml (const juce::XmlElement& element, int type) const
{
    if (! tagIs (&element, "PatternBank"))
        return false;

    switch (type)
    {
        case singleBank: return true;
        case hostBank: return element.getStringAttribute ("type") == "hostPattern";
        case nativeBank: return element.getStringAttribute ("type") == "nativePattern";
        default: return false;
    }
}

std::vector<std::pair<int, Pattern>> DrumMachineSeq::parseBank (const juce::XmlElement& element, int type) const
{
    std::vector<std::pair<int, Pattern>> parsed;
    const int numPatterns = getNumPatterns (type);
    int index = 0;

    for (auto* child : element.getChildIterator())
    {
        if (index >= numPatterns)
            break;
        if (! isPatternXml (*child, type)) // children that are not patterns take no index
            continue;
        parsed.emplace_back (index++, PatternXml::read (*child));
    }
    return parsed;
}

bool DrumMachineSeq::loadBankXml (const juce::XmlElement& element, int type)
{
    if (! isBankXml (element, type))
        return false;

    // The whole bank is parsed first, then copied in under one guard, so the
    // audio thread never waits on the XML and never plays half a bank.
    const auto parsed = parseBank (element, type);
    const PatternRewriteScope guard (owner);
    for (const auto& [index, pattern] : parsed)
        writePatternRecord (index, pattern);
    return true;
}

std::unique_ptr<juce::XmlElement> DrumMachineSeq::createBankXml (int type) const
{
    auto bank = std::make_unique<juce::XmlElement> ("PatternBank");
    if (type == nativeBank)
        bank->setAttribute ("type", "nativePattern");
    else if (type == hostBank)
        bank->setAttribute ("type", "hostPattern");

    for (int index = 0; index < getNumPatterns (type); ++index)
        if (auto pattern = createPatternXml (index, type))
            bank->addChildElement (pattern.release());
    return bank;
}

bool DrumMachineSeq::loadBankOfCurrentType (const juce::XmlElement& element)
{
    const int type = hasHostAndNativePatterns() ? (owner.isHostMode() ? hostBank : nativeBank) : singleBank;
    return loadBankXml (element, type);
}

bool DrumMachineSeq::loadPatternFile (const juce::File& file)
{
    const auto root = xmlguard::parseFile (file);
    if (root == nullptr)
        return false;

    const int type = hasHostAndNativePatterns() ? (owner.isHostMode() ? hostBank : nativeBank) : singleBank;
    return readPatternXml (*root, getEditedPatternIndex(), type);
}

bool DrumMachineSeq::loadBankFile (const juce::File& file)
{
    const auto root = xmlguard::parseFile (file);
    return root != nullptr && loadBankOfCurrentType (*root);
}

bool DrumMachineSeq::loadBankFileOfType (const juce::File& file, int type)
{
    const auto root = xmlguard::parseFile (file);
    return root != nullptr && isValidBankType (type) && loadBankXml (*root, type);
}

bool DrumMachineSeq::loadBankText (const juce::String& resourceName, int type)
{
    const auto text = getResourceAsString (resourceName);
    if (text.isEmpty())
        return false;

    const auto root = juce::XmlDocument::parse (text);
    return root != nullptr && loadBankXml (*root, type);
}

void DrumMachineSeq::readPatternsState (const juce::XmlElement& element)
{
    if (! tagIs (&element, "PatternsState"))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (! hasHostAndNativePatterns())
        {
            if (isBankXml (*child, singleBank))
                loadBankXml (*child, singleBank);
        }
        else if (isBankXml (*child, hostBank))
        {
            loadBankXml (*child, hostBank);
        }
        else if (isBankXml (*child, nativeBank))
        {
            loadBankXml (*child, nativeBank);
        }
    }
}

std::unique_ptr<juce::XmlElement> DrumMachineSeq::createPatternsStateXml() const
{
    auto state = std::make_unique<juce::XmlElement> ("PatternsState");
    if (hasHostAndNativePatterns())
    {
        state->addChildElement (createBankXml (hostBank).release());
        state->addChildElement (createBankXml (nativeBank).release());
    }
    else
    {
        state->addChildElement (createBankXml (singleBank).release());
    }
    return state;
}

void DrumMachineSeq::loadDefaultPatterns (PatternSource source, const juce::File& userFile)
{
    // Every slot is named by its number first, so a bank that is missing,
    // short or cleared still leaves recognisable names.
    std::vector<std::pair<int, Pattern>> named;
    for (int index = 0; index < getNumPatterns (singleBank); ++index)
    {
        Pattern pattern;
        if (! copyPattern (index, pattern))
            continue;
        pattern.setName ("Pattern " + juce::String (index + 1));
        named.emplace_back (index, pattern);
    }
    {
        const PatternRewriteScope guard (owner);
        for (const auto& [index, pattern] : named)
            writePatternRecord (index, pattern);
    }

    switch (source)
    {
        case PatternSource::factoryPatterns:
            loadBankText ("default" + getBankFileExtension (singleBank), singleBank);
            break;
        case PatternSource::userDefinedPatterns:
            loadBankFileOfType (userFile, singleBank);
            break;
        case PatternSource::clearPatterns:
            break;
    }
}

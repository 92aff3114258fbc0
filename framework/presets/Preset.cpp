#include "framework/presets/Preset.h"

#include "framework/core/ParameterManager.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlGuard.h"
#include "framework/core/XmlTags.h"
#include "framework/presets/XmlFiles.h"

void Preset::addParameterValue (const Parameter* parameter)
{
    if (parameter != nullptr)
        addEntry ({ parameter->getIndex(), parameter->toString() });
}

void Preset::addEntry (const Entry& entry)
{
    entries.push_back (entry);
    indexes.addRange ({ entry.index, entry.index + 1 });
}

void Preset::addMissingValuesFrom (const Preset& other)
{
    for (const auto& entry : other.entries)
        if (! coversIndex (entry.index))
            addEntry (entry);
}

void Preset::clearEntries()
{
    entries.clear();
    indexes.clear();
}

void Preset::applyTo (ParameterManager& manager) const
{
    for (const auto& entry : entries)
        manager.setFromString (entry.index, entry.value);
}

bool Preset::setRating (int newRating)
{
    if (newRating < 1 || newRating > 5)
        return false;

    rating = newRating;
    ratingSet = true;
    return true;
}

bool Preset::loadFromXml (const juce::XmlElement* element, const ParameterManager& manager, bool headerOnly)
{
    if (! tagIs (element, "Preset"))
        return false;

    clearEntries();
    name = element->getStringAttribute ("name");
    application = element->getStringAttribute ("application");
    category = element->getStringAttribute ("category");
    version = element->getStringAttribute ("version");
    author = element->getStringAttribute ("author");
    id = element->getStringAttribute ("id");

    if (element->hasAttribute ("tags"))
        tags.parse (element->getStringAttribute ("tags"));
    else
        tags.clearValues();

    if (element->hasAttribute ("rating"))
        setRating (readIntAttribute (*element, "rating", 0));

    if (headerOnly)
        return true;

    for (auto* child : element->getChildIterator())
    {
        if (! tagIs (child, "param"))
            continue;

        const int index = manager.getIndexOfName (child->getStringAttribute ("name"));

        if (index != -1)
            addEntry ({ index, child->getStringAttribute ("value") });
    }

    if (auto* extra = findChildWithTag (element, "ExtraData"))
        if (auto* data = extra->getFirstChildElement())
            extraData = std::make_unique<juce::XmlElement> (*data);

    return true;
}

std::unique_ptr<juce::XmlElement> Preset::createXml (const ParameterManager& manager) const
{
    auto element = std::make_unique<juce::XmlElement> ("Preset");

    auto setIfNotEmpty = [&element] (const char* attribute, const juce::String& value)
    {
        if (value.isNotEmpty())
            element->setAttribute (attribute, value);
    };

    setIfNotEmpty ("name", name);
    setIfNotEmpty ("application", application);
    setIfNotEmpty ("category", category);
    setIfNotEmpty ("version", version);
    setIfNotEmpty ("author", author);
    setIfNotEmpty ("id", id);

    if (ratingSet)
        element->setAttribute ("rating", rating);

    if (tags.getNumTags() > 0)
        element->setAttribute ("tags", tags.toString());

    for (const auto& entry : entries)
    {
        if (auto* parameter = manager.getParameter (entry.index))
        {
            auto* param = element->createNewChildElement ("param");
            param->setAttribute ("name", parameter->getName());
            param->setAttribute ("value", entry.value);
        }
    }

    if (extraData != nullptr)
        element->createNewChildElement ("ExtraData")->addChildElement (new juce::XmlElement (*extraData));

    return element;
}

bool Preset::loadFromFile (const juce::File& file, const ParameterManager& manager, bool headerOnly)
{
    if (! file.existsAsFile())
        return false;

    if (headerOnly)
    {
        const auto outer = xmlguard::parseFile (file, true);
        return outer != nullptr && loadFromXml (outer.get(), manager, true);
    }

    const auto root = xmlfiles::readDocument (file);
    return root != nullptr && loadFromXml (root.get(), manager, false);
}

bool Preset::saveToFile (const juce::File& file, const ParameterManager& manager)
{
    return xmlfiles::writeDocument (*createXml (manager), file);
}

bool Preset::updateAuthorInFile (const juce::File& file) const
{
    auto root = xmlfiles::readDocument (file);

    if (! tagIs (root.get(), "Preset"))
        return false;

    auto setOrRemove = [&root] (const char* attribute, const juce::String& value)
    {
        if (value.isEmpty())
            root->removeAttribute (attribute);
        else
            root->setAttribute (attribute, value);
    };

    setOrRemove ("author", author);
    setOrRemove ("id", id);
    return xmlfiles::writeDocument (*root, file);
}

FilePreset::FilePreset (const juce::File& presetFile)
{
    setFile (presetFile);
}

void FilePreset::setFile (const juce::File& newFile)
{
    file = newFile;
    setName (file.getFileNameWithoutExtension());
}

bool FilePreset::loadFromFile (const juce::File& fileToLoad, const ParameterManager& manager, bool headerOnly)
{
    const bool loaded = Preset::loadFromFile (fileToLoad, manager, headerOnly);
    setName (file.getFileNameWithoutExtension());
    return loaded;
}

bool FilePreset::saveToFile (const juce::File& fileToSave, const ParameterManager& manager)
{
    setName ({});
    const bool saved = Preset::saveToFile (fileToSave, manager);
    setName (file.getFileNameWithoutExtension());
    return saved;
}

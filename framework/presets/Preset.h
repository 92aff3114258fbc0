#pragma once

#include "framework/core/PresetTags.h"

#include <juce_core/juce_core.h>

#include <memory>

class Parameter;
class ParameterManager;

// A named set of parameter values with descriptive header fields, stored as a
// "Preset" element. Values are kept as the parameters' own text, so every kind
// of parameter stores the same way. Message thread (or a worker that owns the
// preset).
class Preset
{
public:
    struct Entry
    {
        int index = -1;     // parameter index
        juce::String value; // the parameter's text
    };

    Preset() = default;
    virtual ~Preset() = default;

    // Appends the parameter's index and text; null is ignored.
    void addParameterValue (const Parameter* parameter);
    void addEntry (const Entry& entry);
    // Appends the entries of the other preset whose index this one lacks.
    void addMissingValuesFrom (const Preset& other);
    void clearEntries();

    int getNumEntries() const noexcept { return (int) entries.size(); }
    const Entry& getEntry (int i) const { return entries.at ((size_t) i); }
    bool coversIndex (int index) const { return indexes.contains (index); }

    // Sets every parameter named by an entry from its text, notifying.
    void applyTo (ParameterManager& manager) const;

    const juce::String& getName() const noexcept { return name; }
    void setName (const juce::String& newName) { name = newName; }
    const juce::String& getAuthor() const noexcept { return author; }
    void setAuthor (const juce::String& newAuthor) { author = newAuthor; }
    const juce::String& getId() const noexcept { return id; }
    void setId (const juce::String& newId) { id = newId; }
    const juce::String& getApplication() const noexcept { return application; }
    void setApplication (const juce::String& newApplication) { application = newApplication; }
    const juce::String& getCategory() const noexcept { return category; }
    void setCategory (const juce::String& newCategory) { category = newCategory; }
    const juce::String& getVersion() const noexcept { return version; }
    void setVersion (const juce::String& newVersion) { version = newVersion; }

    int getRating() const noexcept { return rating; } // 1 to 5; 3 until set
    bool isRatingSet() const noexcept { return ratingSet; }
    // A rating outside 1 to 5 is ignored (returns false).
    bool setRating (int newRating);

    const PresetTags& getTags() const noexcept { return tags; }
    PresetTags& getTags() noexcept { return tags; }

    const juce::XmlElement* getExtraData() const noexcept { return extraData.get(); }
    void setExtraData (std::unique_ptr<juce::XmlElement> data) { extraData = std::move (data); }

    // Reads a "Preset" element (tag without regard to case). Anything else
    // changes nothing and gives false. With headerOnly the entries are
    // cleared and only the header fields are read.
    bool loadFromXml (const juce::XmlElement* element, const ParameterManager& manager, bool headerOnly);

    // A new "Preset" element; entries whose index names no parameter are
    // left out.
    std::unique_ptr<juce::XmlElement> createXml (const ParameterManager& manager) const;

    // An unreadable file, or one that holds no preset, changes nothing and
    // gives false.
    virtual bool loadFromFile (const juce::File& file, const ParameterManager& manager, bool headerOnly);

    // Writes through a temporary file; false (and the old file kept) when it fails.
    virtual bool saveToFile (const juce::File& file, const ParameterManager& manager);

    // Rewrites only the author and id attributes of a preset file (each
    // removed when empty). False when the file holds no preset or cannot be
    // written.
    bool updateAuthorInFile (const juce::File& file) const;

private:
    std::vector<Entry> entries;
    juce::SparseSet<int> indexes;
    juce::String name, author, id, application, category;
    int rating = 3;
    bool ratingSet = false;
    juce::String version;
    PresetTags tags;
    std::unique_ptr<juce::XmlElement> extraData;
};

// A preset bound to a file; its name is the file name without extension.
class FilePreset : public Preset
{
public:
    explicit FilePreset (const juce::File& file);

    const juce::File& getFile() const noexcept { return file; }
    void setFile (const juce::File& newFile);

    bool loadFromFile (const juce::File& file, const ParameterManager& manager, bool headerOnly) override;

    // The file carries no "name" attribute: the file name is the name.
    bool saveToFile (const juce::File& file, const ParameterManager& manager) override;

private:
    juce::File file;
};

#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include <juce_core/juce_core.h>

class DrumMachineSeq;

// Which MIDI key plays which instrument: incoming notes are looked up here,
// and every trigger is echoed on each key mapped to its instrument. Read on
// the audio thread, loaded and saved on the message thread: the keys are
// single words, and a load prepares the whole map before copying it in.
class DrumMap
{
public:
    static constexpr int numKeys = 128;
    static constexpr int noInstrument = -1;

    enum Choice { factoryMapping = 0, userDefinedDrumMap = 1 };

    // What the host is told a key does.
    enum class KeyNameMode
    {
        instruments, // internal sequencer off: the mapped instrument's name
        hostPatterns, // internal sequencer in host mode: keys 12..107 choose patterns
        nothing       // internal sequencer playing its own chain
    };

    // applicationName stamps the documents we write; resourcePrefix ("XR")
    // makes the file extension.
    DrumMap (const juce::String& applicationName, const juce::String& resourcePrefix);

    // Any thread. The instrument 0..10 of a key, -1 for none or a key outside 0..127.
    int getInstrumentForKey (int key) const noexcept;
    // Message thread.
    juce::String getName() const { return name; }

    void clearDrumMap();
    static bool isDrumMapXml (const juce::XmlElement& element);
    // False (nothing changed) when the element is not a drum map or carries a
    // version other than "1.0" or "1.1". Entries with
    // an unknown instrument, the accent, or a key outside 0..127 are skipped.
    bool readDrumMapXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createDrumMapXml() const;

    // True when the file held a drum map and replaced this one; the caller
    // then asks the host to fetch the key names again.
    bool loadDrumMapFile (const juce::File& file);
    // Loads an embedded map ("default.xrdrmap"); true when it held a drum map
    // that replaced this one.
    bool loadDrumMapResource (const juce::String& resourceName);
    // The default map, then the user's file when the user chose one; a user
    // file that is missing or not a drum map leaves the default in place.
    void loadStartUpDrumMap();

    Choice getChoice() const noexcept { return choice; }
    void setChoice (Choice newChoice) noexcept { choice = newChoice; }
    const juce::String& getUserDrumMapFile() const noexcept { return userFile; }
    void setUserDrumMapFile (const juce::String& path);

    juce::String makeDrumMapExtension() const;                  // ".xrdrmap"
    juce::String makeDrumMapExtensions (const juce::StringArray& alternatives) const;

    // Message thread (the host binding's key-name request). "---" for keys
    // outside 0..127 and for unmapped keys.
    juce::String getNoteKeyName (int key, KeyNameMode mode, const DrumMachineSeq* sequencer) const;

private:
    using KeyTable = std::array<int32_t, numKeys>;
    void storeKeys (const KeyTable& keys) noexcept;

    juce::String applicationName;
    juce::String resourcePrefix;
    juce::String name;
    std::array<std::atomic<int32_t>, numKeys> keyMap;
    Choice choice = factoryMapping;
    juce::String userFile;
};

#pragma once
// The documents the product reads, by kind: how the product's real reader
// takes one from a file and how the product writes its own, and what must
// hold for any file handed to a reader. Shared by the broken-document corpus
// test and the document fuzz targets.
#include "drummachine/product/Pulsetta.h"
#include "framework/presets/XmlFiles.h"
#include "framework/processor/StateChunk.h"

#include <functional>
#include <map>
#include <memory>

namespace productdocuments
{
// What a document of the kind may change, as text: the small documents of
// every kind, and the big ones (the whole state, the preset or pattern bank)
// only for the kinds that reach them.
inline juce::String snapshot (Pulsetta& product, const juce::String& kind)
{
    juce::MemoryBlock program;
    product.getCurrentProgramStateInformation (program);
    auto text = program.toBase64Encoding() + product.createUserSettingsXml()->toString()
                + product.getMidiControl().createXml()->toString() + product.getHostParameterMap().createXml()->toString()
                + product.getDrumMap().createDrumMapXml()->toString();

    if (kind == "state_chunk")
    {
        juce::MemoryBlock state;
        product.getStateInformation (state);
        text << state.toBase64Encoding();
    }
    if (kind.startsWith ("preset") || kind == "settings")
    {
        juce::MemoryBlock bank; // every name and value, quicker than the bank's XML
        for (int i = 0; i < PresetBank::numPresets; ++i)
        {
            const auto name = product.getPresetName (i);
            bank.append (name.toRawUTF8(), name.getNumBytesAsUTF8() + 1);
            for (int v = 0; v < product.getNumPresetParameters(); ++v)
            {
                const float value = product.getPreset (i)->getValue (v);
                bank.append (&value, sizeof (value));
            }
        }
        text << bank.toBase64Encoding();
    }
    if (kind.startsWith ("pattern") || kind == "settings")
        text << product.getSequencer()->createBankXml (DrumMachineSeq::singleBank)->toString();

    return text;
}

// How one kind is read from a file and written back to one.
struct Kind
{
    juce::String name;
    std::function<bool (Pulsetta&, const juce::File&)> read;
    std::function<bool (Pulsetta&, const juce::File&)> write;
};

inline bool writeXml (std::unique_ptr<juce::XmlElement> element, const juce::File& file)
{
    return element != nullptr && xmlfiles::writeDocument (*element, file);
}

inline const std::map<juce::String, Kind>& documentKinds()
{
    static const std::map<juce::String, Kind> table {
        { "state_chunk",
          { "state_chunk", [] (Pulsetta& p, const juce::File& f)
            {
                juce::MemoryBlock chunk;
                f.loadFileAsData (chunk);
                p.setStateInformation (chunk.getData(), (int) chunk.getSize());
                return statechunk::read (chunk.getData(), (int) chunk.getSize()) != nullptr;
            },
            [] (Pulsetta& p, const juce::File& f)
            {
                juce::MemoryBlock chunk;
                p.getStateInformation (chunk);
                return f.replaceWithData (chunk.getData(), chunk.getSize());
            } } },
        { "drum_map",
          { "drum_map", [] (Pulsetta& p, const juce::File& f) { return p.getDrumMap().loadDrumMapFile (f); },
            [] (Pulsetta& p, const juce::File& f) { return writeXml (p.getDrumMap().createDrumMapXml(), f); } } },
        { "preset",
          { "preset", [] (Pulsetta& p, const juce::File& f) { return p.loadPresetFile (f, p.getCurrentPreset()); },
            [] (Pulsetta& p, const juce::File& f) { return p.savePresetFile (f, p.getCurrentPreset()); } } },
        { "preset_bank",
          { "preset_bank", [] (Pulsetta& p, const juce::File& f) { return p.loadPresetBankFile (f); },
            [] (Pulsetta& p, const juce::File& f) { return p.savePresetBankFile (f); } } },
        { "pattern",
          { "pattern", [] (Pulsetta& p, const juce::File& f) { return p.getSequencer()->loadPatternFile (f); },
            [] (Pulsetta& p, const juce::File& f)
            {
                auto* seq = p.getSequencer();
                return writeXml (seq->createPatternXml (seq->getEditedPatternIndex(), DrumMachineSeq::singleBank), f);
            } } },
        { "pattern_bank",
          { "pattern_bank", [] (Pulsetta& p, const juce::File& f) { return p.getSequencer()->loadBankFile (f); },
            [] (Pulsetta& p, const juce::File& f)
            { return writeXml (p.getSequencer()->createBankXml (DrumMachineSeq::singleBank), f); } } },
        { "host_map",
          { "host_map", [] (Pulsetta& p, const juce::File& f) { return p.loadHostParametersMapFile (f); },
            [] (Pulsetta& p, const juce::File& f) { return p.saveHostParametersMapFile (f); } } },
        { "midi_map",
          { "midi_map", [] (Pulsetta& p, const juce::File& f) { return p.getMidiControl().loadFromFile (f); },
            [] (Pulsetta& p, const juce::File& f) { return p.getMidiControl().saveToFile (f); } } },
        { "settings",
          { "settings", [] (Pulsetta& p, const juce::File& f)
            {
                // The settings are read from their own place.
                f.copyFileTo (p.getUserSettingsFile());
                p.loadUserSettings();
                return p.isUserSettingsXml (xmlfiles::readDocument (f).get());
            },
            [] (Pulsetta& p, const juce::File& f) { return writeXml (p.createUserSettingsXml(), f); } } },
    };
    return table;
}

enum class Outcome { refused, read, changedWhenRefused, doesNotReadBack };

// Message thread. Hands the file to the kind's reader. Refused: nothing of
// the product changed. Read: what the product then writes reads back to
// itself (written beside the file in `scratch`).
inline Outcome readThroughProduct (Pulsetta& product, const Kind& kind, const juce::File& file, const juce::File& scratch)
{
    // A bank file's folder is remembered for the next file dialog even when
    // the file is refused: that is no change of the product's content.
    product.setRecentlyUsedDirectory (file.getParentDirectory());
    const auto before = snapshot (product, kind.name);

    if (! kind.read (product, file))
        return snapshot (product, kind.name) == before ? Outcome::refused : Outcome::changedWhenRefused;

    const auto first = scratch.getChildFile ("written-first"), second = scratch.getChildFile ("written-second");
    const bool same = kind.write (product, first) && kind.read (product, first) && kind.write (product, second)
                      && first.loadFileAsString() == second.loadFileAsString();
    return same ? Outcome::read : Outcome::doesNotReadBack;
}
} // namespace productdocuments

#pragma once

#include <juce_core/juce_core.h>

// Moves the user settings from where older versions kept them (beside the
// module) to the user's settings file. Message thread, at construction.
//
// The old file is copied only when no current settings file exists, so the
// user's newer settings are never overwritten, also when the old file cannot
// be deleted. The copy goes through a temporary file. Returns true when the
// settings were copied.
bool migrateSettingsFile (const juce::File& oldFile, const juce::File& newFile);

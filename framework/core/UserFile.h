#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

// Reading a file that the user or one of our documents names. Such a path may
// lead anywhere: a device such as /dev/zero never ends, a FIFO blocks, and a
// huge file would be read whole. Only a regular file up to maxUserFileBytes
// is read; anything else is refused before a byte of it is read.

// Far above the largest file we write (a full preset bank is about 330 KB).
constexpr size_t maxUserFileBytes = 16 * 1024 * 1024;

// Message thread. The file's bytes; false (contents emptied) when the path
// names no regular file, the file is larger than maxUserFileBytes or cannot
// be read.
bool readUserFile (const juce::File& file, juce::MemoryBlock& contents);

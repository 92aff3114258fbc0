#pragma once
// The test module's processor, made directly for tests that drive the binding
// themselves.
#include "host/HostedProcessor.h"

#include <memory>

namespace recording
{
enum class Editor
{
    persistent, // the module's own: a persistent editor of editorWidth x editorHeight pixels
    none
};

constexpr int editorWidth = 320, editorHeight = 200; // pixels

std::unique_ptr<HostedProcessor> createProcessor(Editor editor = Editor::persistent);

// How many times the editors of this process have painted themselves (message thread).
int editorPaintCount();
} // namespace recording

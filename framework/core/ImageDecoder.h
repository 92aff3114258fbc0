#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstddef>

// The one way the module turns bytes into an image: a skin package's files
// and the module's own embedded images alike.
//
// JUCE's PNG and JPEG loaders are not used on bytes: built against the
// system's libpng and libjpeg, neither leaves the library's error callback
// the way the library requires. After a fatal error libpng carries on or
// jumps into a frame that has returned, and libjpeg carries on, so one
// damaged file crashes the host. Here libpng is used through its simplified
// API, which reports every error as a failed call, and libjpeg through an
// error manager that jumps back into a frame that is still running.
namespace imagedecoder
{
// Any thread. The PNG or JPEG image the bytes hold, as JUCE's decoders gave
// it: ARGB, premultiplied, when the file has alpha (an alpha channel or a
// transparent colour), RGB otherwise. A null image when the bytes are no PNG
// or JPEG, state a size imageheader::isDecodable refuses (checked before
// anything is allocated), or are damaged anywhere: a libpng error, or any
// libjpeg error or warning (a JPEG cut short reads as grey to libjpeg, with
// only a warning).
juce::Image decode (const void* data, std::size_t size);
} // namespace imagedecoder

#include "framework/core/XmlGuard.h"

#include "framework/core/UserFile.h"
#include "framework/core/XmlGuardTree.h"

#include <algorithm>
#include <cstring>

namespace xmlguard
{
namespace
{
// Strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF) and
// no NUL, which ends a JUCE string early.
bool isUtf8WithoutNul (const unsigned char* p, const unsigned char* end) noexcept
{
    while (p < end)
    {
        const unsigned char lead = *p++;

        if (lead == 0)
            return false;

        if (lead < 0x80)
            continue;

        int continuations = 0;
        unsigned char low = 0x80, high = 0xbf; // range of the first continuation byte

        if (lead >= 0xc2 && lead <= 0xdf)
            continuations = 1;
        else if (lead >= 0xe0 && lead <= 0xef)
        {
            continuations = 2;
            if (lead == 0xe0) low = 0xa0;
            if (lead == 0xed) high = 0x9f;
        }
        else if (lead >= 0xf0 && lead <= 0xf4)
        {
            continuations = 3;
            if (lead == 0xf0) low = 0x90;
            if (lead == 0xf4) high = 0x8f;
        }
        else
            return false;

        if (end - p < continuations || *p < low || *p > high)
            return false;

        for (int i = 0; i < continuations; ++i, ++p)
            if ((*p & 0xc0) != 0x80)
                return false;
    }

    return true;
}

// Some bytes, no more than a document may have, all strict UTF-8 without NUL.
bool isAcceptableText (const unsigned char* begin, size_t size) noexcept
{
    return begin != nullptr && size != 0 && size <= maxDocumentBytes && isUtf8WithoutNul (begin, begin + size);
}

bool isNameStart (unsigned char c) noexcept
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}

bool isNameChar (unsigned char c) noexcept
{
    return isNameStart (c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool isSpace (unsigned char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// One pass over the bytes, refusing at the first thing outside the XML we
// write. Names are kept as spans into the text, so nothing is allocated.
class Scanner
{
public:
    Scanner (const unsigned char* begin, const unsigned char* finish) noexcept
        : p (begin), end (finish),
          nodeLimit (std::min<size_t> ((size_t) maxNodes, std::max<size_t> (4096, (size_t) (finish - begin) / minBytesPerNode)))
    {
    }

    bool isDocument() noexcept
    {
        static constexpr unsigned char byteOrderMark[] = { 0xef, 0xbb, 0xbf };

        skip (byteOrderMark, sizeof (byteOrderMark));
        skipSpace();

        if (startsWith ("<?xml") && p + 5 < end && isSpace (p[5]))
            if (! skipPast ("?>"))
                return false;

        if (! skipMisc() || p >= end || *p != '<')
            return false;

        rootBegin = p;

        if (! element())
            return false;

        rootEnd = p;
        return skipMisc() && p == end;
    }

    // After isDocument(): the document element, from its '<' to the end of its closing tag.
    const unsigned char* rootBegin = nullptr;
    const unsigned char* rootEnd = nullptr;

    // Reads the element starting at `at` (in a document isDocument() accepted), handing the span of
    // each of its children to `observer`.
    void readElement (const unsigned char* at, const ChildSpans& observer)
    {
        p = at;
        depth = 0;
        nodes = 0;
        childObserver = &observer;
        element();
        childObserver = nullptr;
    }

private:
    struct Name
    {
        const unsigned char* start = nullptr;
        size_t length = 0;
    };

    bool startsWith (const char* text) const noexcept
    {
        const auto length = std::strlen (text);
        return (size_t) (end - p) >= length && std::memcmp (p, text, length) == 0;
    }

    void skip (const unsigned char* bytes, size_t length) noexcept
    {
        if ((size_t) (end - p) >= length && std::memcmp (p, bytes, length) == 0)
            p += length;
    }

    void skipSpace() noexcept
    {
        while (p < end && isSpace (*p))
            ++p;
    }

    bool skipPast (const char* terminator) noexcept
    {
        const auto length = std::strlen (terminator);

        for (; (size_t) (end - p) >= length; ++p)
            if (std::memcmp (p, terminator, length) == 0)
            {
                p += length;
                return true;
            }

        return false;
    }

    // White space and comments between the declaration, the root and the end.
    bool skipMisc() noexcept
    {
        for (;;)
        {
            skipSpace();

            if (! startsWith ("<!--"))
                return true;

            p += 4;

            if (! skipPast ("-->"))
                return false;
        }
    }

    bool name (Name& result) noexcept
    {
        if (p >= end || ! isNameStart (*p))
            return false;

        result.start = p;

        while (p < end && isNameChar (*p))
            ++p;

        result.length = (size_t) (p - result.start);
        return true;
    }

    bool countNode() noexcept { return ++nodes <= nodeLimit; }

    // After '&': one of the five predefined entities or a character
    // reference naming a character (not NUL, not a surrogate, at most
    // U+10FFFF), in the digits the reader takes.
    bool reference() noexcept
    {
        for (const char* entity : { "amp;", "lt;", "gt;", "quot;", "apos;" })
            if (startsWith (entity))
            {
                p += std::strlen (entity);
                return true;
            }

        if (p >= end || *p != '#')
            return false;

        ++p;
        const bool hex = p < end && *p == 'x';
        p += hex ? 1 : 0;

        const int maxDigits = hex ? 8 : 12;
        unsigned long long value = 0;
        int digits = 0;

        for (; p < end && *p != ';'; ++p, ++digits)
        {
            int digit = -1;

            if (*p >= '0' && *p <= '9')
                digit = *p - '0';
            else if (hex && *p >= 'a' && *p <= 'f')
                digit = *p - 'a' + 10;
            else if (hex && *p >= 'A' && *p <= 'F')
                digit = *p - 'A' + 10;

            if (digit < 0 || digits >= maxDigits)
                return false;

            value = value * (hex ? 16u : 10u) + (unsigned) digit;
        }

        if (p >= end || digits == 0 || value == 0 || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
            return false;

        ++p; // ';'
        return true;
    }

    bool attributeValue() noexcept
    {
        if (p >= end || (*p != '"' && *p != '\''))
            return false;

        const auto quote = *p++;

        while (p < end && *p != quote)
        {
            if (*p == '<')
                return false;

            if (*p++ == '&' && ! reference())
                return false;
        }

        if (p >= end)
            return false;

        ++p;
        return countNode();
    }

    // At '<' of a start tag; reads the element and everything inside it.
    bool element()
    {
        const auto* const start = p;
        Name tag;
        ++p;

        if (++depth > maxDepth || ! name (tag) || ! countNode())
            return false;

        for (;;)
        {
            const auto* beforeSpace = p;
            skipSpace();

            if (startsWith ("/>"))
            {
                p += 2;
                return leave (start);
            }

            if (p < end && *p == '>')
            {
                ++p;
                break;
            }

            Name attribute;

            if (p == beforeSpace || ! name (attribute))
                return false;

            skipSpace();

            if (p >= end || *p++ != '=')
                return false;

            skipSpace();

            if (! attributeValue())
                return false;
        }

        if (! content())
            return false;

        // At "</".
        p += 2;
        Name closing;

        if (! name (closing) || closing.length != tag.length || std::memcmp (closing.start, tag.start, tag.length) != 0)
            return false;

        skipSpace();

        if (p >= end || *p != '>')
            return false;

        ++p;
        return leave (start);
    }

    // At the end of the element that began at `start`.
    bool leave (const unsigned char* start)
    {
        if (--depth == 1 && childObserver != nullptr)
            (*childObserver) (start, p);

        return true;
    }

    // Text, references, comments, CDATA and child elements, up to "</".
    bool content()
    {
        bool inText = false;

        while (p < end)
        {
            if (*p == '&')
            {
                ++p;

                if (! reference())
                    return false;

                inText = true;
                continue;
            }

            if (*p != '<')
            {
                ++p;
                inText = true;
                continue;
            }

            if (inText && ! countNode())
                return false;

            inText = false;

            if (startsWith ("</"))
                return true;

            if (startsWith ("<!--"))
            {
                p += 4;

                if (! skipPast ("-->"))
                    return false;

                continue;
            }

            if (startsWith ("<![CDATA["))
            {
                p += 9;

                if (! skipPast ("]]>") || ! countNode())
                    return false;

                continue;
            }

            // A DTD, a declaration or a processing instruction.
            if (p + 1 < end && (p[1] == '!' || p[1] == '?'))
                return false;

            if (! element())
                return false;
        }

        return false; // the element was never closed
    }

    const unsigned char* p;
    const unsigned char* const end;
    const size_t nodeLimit;
    int depth = 0;
    size_t nodes = 0;
    const ChildSpans* childObserver = nullptr;
};

} // namespace

bool isAcceptable (const char* bytes, size_t size) noexcept
{
    const auto* begin = reinterpret_cast<const unsigned char*> (bytes);
    return isAcceptableText (begin, size) && Scanner (begin, begin + size).isDocument();
}

std::unique_ptr<juce::XmlElement> parse (const char* bytes, size_t size, bool onlyDocumentElement)
{
    const auto* begin = reinterpret_cast<const unsigned char*> (bytes);

    if (! isAcceptableText (begin, size))
        return nullptr;

    Scanner scanner (begin, begin + size);

    if (! scanner.isDocument())
        return nullptr;

    const auto childrenOf = [&scanner] (const unsigned char* element, const ChildSpans& onChild) {
        scanner.readElement (element, onChild);
    };
    return buildTree (scanner.rootBegin, scanner.rootEnd, size, onlyDocumentElement, childrenOf);
}

std::unique_ptr<juce::XmlElement> parse (const juce::String& text, bool onlyDocumentElement)
{
    return parse (text.toRawUTF8(), text.getNumBytesAsUTF8(), onlyDocumentElement);
}

std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file, bool onlyDocumentElement)
{
    juce::MemoryBlock contents;

    if (! readUserFile (file, contents))
        return nullptr;

    return parse (static_cast<const char*> (contents.getData()), contents.getSize(), onlyDocumentElement);
}
} // namespace xmlguard

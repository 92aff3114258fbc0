#include "framework/core/XmlGuardTree.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace xmlguard
{
namespace
{
// Makes equal values of one document share one string: most of our values
// repeat ("0.5", "off", a pattern row), and JUCE gives every attribute a heap
// string of its own. At most one string per 64 bytes of document is kept, so
// a document of all different values costs little more than without.
class SharedValues
{
public:
    explicit SharedValues (size_t documentBytes) : limit (std::max<size_t> (16, documentBytes / 64)) {}

    // The element's and its descendants' attribute values and texts.
    void share (juce::XmlElement& element)
    {
        if (element.isTextElement())
            element.setText (shared (element.getText()));
        else if (element.getNumAttributes() <= maxAttributes)
            for (int i = 0; i < element.getNumAttributes(); ++i)
            {
                const juce::Identifier name (element.getAttributeName (i));
                const auto& value = element.getAttributeValue (i);

                // A name given twice is set by its first value: only equal values change place.
                if (value == element.getStringAttribute (name))
                    element.setAttribute (name, shared (value));
            }

        for (auto* child : element.getChildIterator())
            share (*child);
    }

private:
    // Finding an attribute walks the element's list: an element with many
    // (a crafted one) keeps its values unshared instead of taking quadratic time.
    static constexpr int maxAttributes = 64;

    juce::String shared (const juce::String& value)
    {
        if (const auto found = strings.find (value); found != strings.end())
            return *found;

        if (strings.size() < limit)
            strings.insert (value);

        return value;
    }

    const size_t limit;
    std::unordered_set<juce::String> strings;
};

// Builds JUCE's tree of a document the guard accepted, handing JUCE's reader
// the text in pieces: an element longer than pieceBytes is made from its start
// tag, its long children each built the same way, and the rest of its content
// in runs of about pieceBytes. So the whole text is never copied into one
// string, and each piece's values are shared as soon as it is read. JUCE reads
// every piece as it would inside the whole document: runs are cut only where
// an element begins or ends, where its reader ends a text node anyway.
class TreeBuilder
{
public:
    TreeBuilder (const ChildrenOf& children, size_t documentBytes) : childrenOf (children), values (documentBytes) {}

    // The element from `begin` (its '<') to `end` (after its closing tag), or null when the reader fails.
    std::unique_ptr<juce::XmlElement> element (const unsigned char* begin, const unsigned char* end)
    {
        if ((size_t) (end - begin) <= pieceBytes)
            return sharedPiece (text (begin, end));

        auto result = startTag (begin);
        const auto* contentBegin = afterStartTag (begin);

        if (result == nullptr || contentBegin == end)
            return result; // an empty element whose start tag alone is long

        // Pieces of the content in order: long children, and runs of all else.
        struct Piece
        {
            const unsigned char *begin, *end;
            bool isLongChild;
        };
        std::vector<Piece> pieces;
        const auto* runBegin = contentBegin;

        childrenOf (begin, [&] (const unsigned char* childBegin, const unsigned char* childEnd) {
            if ((size_t) (childEnd - childBegin) > pieceBytes)
            {
                if (runBegin < childBegin)
                    pieces.push_back ({ runBegin, childBegin, false });

                pieces.push_back ({ childBegin, childEnd, true });
                runBegin = childEnd;
            }
            else if ((size_t) (childEnd - runBegin) >= pieceBytes)
            {
                pieces.push_back ({ runBegin, childEnd, false });
                runBegin = childEnd;
            }
        });

        const auto* contentEnd = closingTag (begin, end);

        if (runBegin < contentEnd)
            pieces.push_back ({ runBegin, contentEnd, false });

        // Prepending is the list's only step that takes no walk along it: the pieces go in from the last.
        for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece)
        {
            if (piece->isLongChild)
            {
                auto child = element (piece->begin, piece->end);

                if (child == nullptr)
                    return nullptr;

                result->prependChildElement (child.release());
                continue;
            }

            auto wrapper = sharedPiece ("<piece>" + text (piece->begin, piece->end) + "</piece>");

            if (wrapper == nullptr)
                return nullptr;

            std::vector<std::unique_ptr<juce::XmlElement>> children;

            while (auto* child = wrapper->getFirstChildElement())
            {
                wrapper->removeChildElement (child, false);
                children.emplace_back (child);
            }

            for (auto child = children.rbegin(); child != children.rend(); ++child)
                result->prependChildElement (child->release());
        }

        return result;
    }

    // The element at `begin` without its children.
    std::unique_ptr<juce::XmlElement> startTag (const unsigned char* begin)
    {
        const auto* tagEnd = afterStartTag (begin);
        const bool empty = tagEnd[-2] == '/';
        return piece (empty ? text (begin, tagEnd) : text (begin, tagEnd - 1) + "/>");
    }

private:
    static constexpr size_t pieceBytes = 1024;

    static juce::String text (const unsigned char* begin, const unsigned char* end)
    {
        return juce::String::fromUTF8 (reinterpret_cast<const char*> (begin), (int) (end - begin));
    }

    // After the '>' of the start tag of the element at `begin`.
    static const unsigned char* afterStartTag (const unsigned char* p) noexcept
    {
        for (unsigned char quote = 0;; ++p)
        {
            if (quote != 0)
                quote = *p == quote ? 0 : quote;
            else if (*p == '"' || *p == '\'')
                quote = *p;
            else if (*p == '>')
                return p + 1;
        }
    }

    // The '<' of the closing tag of the element from `begin` to `end`: the last in it.
    static const unsigned char* closingTag (const unsigned char* begin, const unsigned char* end) noexcept
    {
        auto* p = end - 1;

        while (p > begin && *p != '<')
            --p;

        return p;
    }

    static std::unique_ptr<juce::XmlElement> piece (const juce::String& pieceText)
    {
        // Built from the text, the document has no input source: an external
        // entity or DTD could never be opened even if one got this far.
        juce::XmlDocument document (pieceText);
        document.setInputSource (nullptr);
        return document.getDocumentElement();
    }

    std::unique_ptr<juce::XmlElement> sharedPiece (const juce::String& pieceText)
    {
        auto result = piece (pieceText);

        if (result != nullptr)
            values.share (*result);

        return result;
    }

    const ChildrenOf& childrenOf;
    SharedValues values;
};

} // namespace

std::unique_ptr<juce::XmlElement> buildTree (const unsigned char* rootBegin, const unsigned char* rootEnd, size_t documentBytes,
                                             bool onlyDocumentElement, const ChildrenOf& childrenOf)
{
    TreeBuilder builder (childrenOf, documentBytes);
    return onlyDocumentElement ? builder.startTag (rootBegin) : builder.element (rootBegin, rootEnd);
}
} // namespace xmlguard

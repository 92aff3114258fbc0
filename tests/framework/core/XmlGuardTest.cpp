// The XML guard builds long documents in pieces: whatever the cut, its tree
// is the one JUCE's reader builds from the whole text.
#include "framework/core/XmlGuard.h"

#include <gtest/gtest.h>

namespace
{
// `times` copies of `part`, enough to pass the length at which the guard cuts.
juce::String repeated (const juce::String& part, int times)
{
    juce::String text;
    for (int i = 0; i < times; ++i)
        text << part.replace ("@", juce::String (i));
    return text;
}

juce::String wrapped (const juce::String& content) { return "<root a=\"1\">" + content + "</root>"; }
} // namespace

TEST (XmlGuard, LongDocumentsReadAsJuceReadsThemWhole)
{
    const juce::String documents[] = {
        // Many small children, values repeating and not.
        wrapped (repeated ("\n  <param name=\"p@\" value=\"0.5\"/>", 3000)),
        // Long children holding long children, beside short ones.
        wrapped (repeated ("<group n=\"@\">" + repeated ("<row>O...o...@</row>", 200) + "</group><x/>", 6)),
        // Text between children, the texts of one element joined across a comment, CDATA, references,
        // '>' in a value, blanks in a closing tag, line ends.
        wrapped (repeated ("text @ &amp; &lt;&#x41;&#66;<!-- c --> more\r\n<e v=\"a>b&quot;\"  w='@'>in</e  >"
                           "<![CDATA[<raw> @ ]]>tail<empty/>",
                           400)),
        // Long empty elements whose start tags alone are long, and a long child whose text is one node.
        wrapped (repeated ("<big" + repeated (" a@ =\"@\"", 150) + "/>", 3) + "<t>" + repeated ("word @ ", 2000) + "</t>"),
        // A name given twice with two values, in a long document.
        wrapped (repeated ("<dup v=\"1\" v=\"2\"/><dup v=\"2\" v=\"1\"/>", 500)),
        // Declaration, byte order mark and comments before and after the document element.
        juce::String::fromUTF8 ("\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- before -->\n")
            + wrapped (repeated ("<a>@</a>", 2000)) + "\n<!-- after -->\n",
        // Deep nesting, every level long.
        "<l1>" + repeated ("<l2>" + repeated ("<l3><l4 x=\"@\">@</l4></l3>", 100) + "</l2>", 10) + "</l1>",
        // Short enough to be read in one piece.
        wrapped ("<a b=\"c\">d</a>"),
    };

    for (const auto& document : documents)
    {
        // JUCE's reader takes no byte order mark in a string.
        const auto text = document.startsWithChar (0xfeff) ? document.substring (1) : document;
        const auto expected = juce::XmlDocument::parse (text);
        ASSERT_NE (expected, nullptr);
        const auto read = xmlguard::parse (document);
        ASSERT_NE (read, nullptr) << document.substring (0, 80);
        EXPECT_TRUE (read->isEquivalentTo (expected.get(), false)) << document.substring (0, 80);
        EXPECT_EQ (read->toString(), expected->toString());

        const auto outer = xmlguard::parse (document, true);
        ASSERT_NE (outer, nullptr);
        EXPECT_TRUE (outer->isEquivalentTo (juce::XmlDocument (text).getDocumentElement (true).get(), false));
    }
}

// The corpus of broken documents (broken-documents/, one folder per kind of
// document): each goes through the product's real reader and must have the
// outcome its line in broken-documents/outcomes.txt gives, "refused" (nothing
// of the product changed) or "read" (and what the product then writes reads
// back to itself). No document may crash, hang or leak.
#include "ProductTestSupport.h"
#include "tests/drummachine/product/ProductDocuments.h"

#include <set>

namespace
{
using BrokenDocuments = ProductTest;

const juce::File corpus (PULSETTA_BROKEN_DOCUMENTS_DIR);

const char* nameOf (productdocuments::Outcome outcome)
{
    switch (outcome)
    {
        case productdocuments::Outcome::refused: return "refused";
        case productdocuments::Outcome::read: return "read";
        case productdocuments::Outcome::changedWhenRefused: return "refused, but the product changed";
        case productdocuments::Outcome::doesNotReadBack: return "read, but it does not save and read back to itself";
    }
    return "?";
}

TEST_F (BrokenDocuments, EachHasItsOutcomeThroughTheProductsReader)
{
    juce::StringArray lines;
    lines.addLines (corpus.getChildFile ("outcomes.txt").loadFileAsString());
    std::set<juce::String> listed;
    int documents = 0;

    for (auto line : lines)
    {
        line = line.upToFirstOccurrenceOf ("#", false, false).trim();
        if (line.isEmpty())
            continue;

        juce::StringArray words;
        words.addTokens (line, " \t", "");
        words.removeEmptyStrings();
        ASSERT_EQ (words.size(), 2) << line;
        const auto& path = words[0];
        listed.insert (path);
        ++documents;

        const auto& kinds = productdocuments::documentKinds();
        const auto kind = kinds.find (path.upToFirstOccurrenceOf ("/", false, false));
        ASSERT_NE (kind, kinds.end()) << path;
        const auto file = corpus.getChildFile (path);
        ASSERT_TRUE (file.existsAsFile()) << path;

        auto product = makeProduct();
        EXPECT_STREQ (nameOf (productdocuments::readThroughProduct (*product, kind->second, file, folder)), words[1].toRawUTF8())
            << path;
    }

    EXPECT_GE (documents, 60);
    for (const auto& file : corpus.findChildFiles (juce::File::findFiles, true))
    {
        const auto path = file.getRelativePathFrom (corpus);
        const bool needsOutcome = ! file.hasFileExtension ("txt"); // not outcomes.txt, nor a file a document names
        EXPECT_TRUE (! needsOutcome || listed.count (path) == 1) << path << " has no outcome";
    }
}
} // namespace

// libFuzzer target for one kind of document the product reads: the state
// chunk or one of its files. Each executable is this source with its kind
// named by fuzzedDocumentKind (FuzzTargetKind.cpp). One product instance lives
// for the whole run, as in a long session of a user; each input goes through
// the product's real reader and must
//  - leave everything as it was when the reader refuses it, and
//  - when it is read, save and read back to the very same document.
//
// PULSETTA_FUZZ_WRITE_SEED=<file> writes the product's own document of the
// kind to the file and exits: the seed corpora come from there.
#include "tests/drummachine/product/ProductDocuments.h"
#include "tests/support/TemporaryUserFolders.h"

#include <cstdio>
#include <cstdlib>

extern const char* const fuzzedDocumentKind;

namespace
{
struct Session : testing_support::TemporaryUserFolders
{
    Session() : TemporaryUserFolders ("pulsetta-fuzz-")
    {
        product.reset (static_cast<Pulsetta*> (BasePlugin::startUp (std::make_unique<Pulsetta>())));
    }

    juce::ScopedJuceInitialiser_GUI juce;
    std::unique_ptr<Pulsetta> product;
};

Session* session = nullptr;
const productdocuments::Kind* kind = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    kind = &productdocuments::documentKinds().at (fuzzedDocumentKind);
    session = new Session(); // lives as long as the process: libFuzzer exits without unwinding

    if (const char* seed = std::getenv ("PULSETTA_FUZZ_WRITE_SEED"))
    {
        const bool written = kind->write (*session->product, juce::File (seed));
        std::fprintf (stderr, "%s seed %s: %s\n", fuzzedDocumentKind, seed, written ? "written" : "FAILED");
        std::exit (written ? 0 : 1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using productdocuments::Outcome;
    const auto input = session->folder.getChildFile ("input");
    input.replaceWithData (data, size);

    switch (productdocuments::readThroughProduct (*session->product, *kind, input, session->folder))
    {
        case Outcome::refused:
        case Outcome::read:
            return 0;
        case Outcome::changedWhenRefused:
            std::fprintf (stderr, "a refused %s changed the product\n", fuzzedDocumentKind);
            break;
        case Outcome::doesNotReadBack:
            std::fprintf (stderr, "a %s the product read does not save and read back to itself\n", fuzzedDocumentKind);
            break;
    }
    std::abort();
}

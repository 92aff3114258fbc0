// The kind of document one executable of DocumentFuzzer.cpp fuzzes, given by its build.
extern const char* const fuzzedDocumentKind;
const char* const fuzzedDocumentKind = PULSETTA_FUZZ_KIND;

# Warnings for our own code. JUCE's headers come in as system includes, so
# nothing of theirs shows up here.
add_library(pulsetta_warnings INTERFACE)
target_compile_options(pulsetta_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)

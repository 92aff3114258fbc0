# Warnings for our own code. JUCE's headers come in as system includes, so
# nothing of theirs shows up here.
add_library(pulsetta_warnings INTERFACE)
target_compile_options(pulsetta_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
# clang's -Wdouble-promotion also flags every float handed to a double parameter or returned as one, which
# is how the parameter and host code is written on purpose; g++ keeps the check on arithmetic promotions,
# where an accidental one costs, in the release build.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  target_compile_options(pulsetta_warnings INTERFACE -Wno-double-promotion)
endif()

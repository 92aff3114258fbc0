# JUCE 7 from Debian's juce-modules-source, compiled once into one static,
# position-independent library that every target of ours links.
set(JUCE_MODULES_DIR "/usr/share/juce/modules" CACHE PATH "Folder holding the JUCE modules")
if(NOT EXISTS ${JUCE_MODULES_DIR}/juce_core/juce_core.h)
  message(FATAL_ERROR "JUCE modules not found in ${JUCE_MODULES_DIR}: apt-get install --no-install-recommends juce-modules-source")
endif()

find_package(PkgConfig REQUIRED)
pkg_check_modules(JUCE_SYSTEM_LIBS REQUIRED IMPORTED_TARGET freetype2 libpng libjpeg zlib)
find_package(Threads REQUIRED)

set(PULSETTA_JUCE_MODULES
  juce_core juce_events juce_data_structures juce_graphics juce_gui_basics
  juce_gui_extra juce_audio_basics juce_audio_processors juce_cryptography)

set(juce_sources)
foreach(module IN LISTS PULSETTA_JUCE_MODULES)
  list(APPEND juce_sources ${JUCE_MODULES_DIR}/${module}/${module}.cpp)
endforeach()

add_library(juce STATIC ${juce_sources})
# JUCE's own sources are not ours to warn about (g++ 12 gives false
# dangling-pointer warnings in its listener list at -O3).
target_compile_options(juce PRIVATE -w)
target_include_directories(juce SYSTEM PUBLIC ${JUCE_MODULES_DIR})

# These must be the same for JUCE and for everything that includes it, or
# class layouts differ. JUCE_MODAL_LOOPS_PERMITTED stays at JUCE's 0: a
# plug-in must not hold its host's thread in a loop of its own, dialogs and
# menus answer asynchronously, and tests run the queue with their own helpers.
set(juce_definitions
  JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
  JUCE_STANDALONE_APPLICATION=0
  JUCE_USE_CURL=0
  JUCE_WEB_BROWSER=0
  JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_USE_DARK_SPLASH_SCREEN=0
  JUCE_REPORT_APP_USAGE=0
  JUCE_PLUGINHOST_VST=0
  JUCE_PLUGINHOST_VST3=0
  JUCE_PLUGINHOST_AU=0
  JUCE_PLUGINHOST_LADSPA=0
  JUCE_PLUGINHOST_LV2=0
  JUCE_CHECK_MEMORY_LEAKS=0
  JUCE_SILENCE_XCODE_15_LINKER_WARNING=1)
foreach(module IN LISTS PULSETTA_JUCE_MODULES)
  list(APPEND juce_definitions JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
  list(APPEND juce_definitions DEBUG=1 _DEBUG=1)
else()
  list(APPEND juce_definitions NDEBUG=1)
endif()
target_compile_definitions(juce PUBLIC ${juce_definitions})
target_link_libraries(juce PUBLIC PkgConfig::JUCE_SYSTEM_LIBS Threads::Threads ${CMAKE_DL_LIBS} rt)

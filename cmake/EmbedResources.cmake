# Embedded resources: files compiled into the module and found at run time by
# their file-like name ("parameters.xml" is resource PARAMETERS of type XML).
#
#   pulsetta_add_resources(FILES <file>... [DEPENDS <target-or-file>...])
#       adds files (sources, or outputs of a generator) from any folder;
#   pulsetta_make_resource_library(<target>)
#       makes the one library that holds them all with the look-up of
#       platform/EmbeddedResources.h; called once, after every folder.

set(PULSETTA_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_resources.cmake)

function(pulsetta_add_resources)
  cmake_parse_arguments(ARG "" "" "FILES;DEPENDS" ${ARGN})
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(absolute ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    set_property(GLOBAL APPEND PROPERTY PULSETTA_RESOURCE_FILES ${absolute})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY PULSETTA_RESOURCE_DEPENDS ${ARG_DEPENDS})
endfunction()

function(pulsetta_make_resource_library target)
  get_property(files GLOBAL PROPERTY PULSETTA_RESOURCE_FILES)
  get_property(depends GLOBAL PROPERTY PULSETTA_RESOURCE_DEPENDS)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_data.cpp)
  string(REPLACE ";" "|" file_list "${files}")
  add_custom_command(
    OUTPUT ${generated}
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${generated}" "-DFILES=${file_list}" -P ${PULSETTA_EMBED_SCRIPT}
    DEPENDS ${files} ${depends} ${PULSETTA_EMBED_SCRIPT}
    COMMENT "Embedding resources"
    VERBATIM)
  add_library(${target} STATIC ${generated} ${PROJECT_SOURCE_DIR}/platform/EmbeddedResources.cpp)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE pulsetta_warnings)
endfunction()

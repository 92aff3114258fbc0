# Writes OUTPUT, a C++ file holding every file of FILES ("|"-separated) as a
# byte array, with the table that platform/EmbeddedResources.cpp searches.
if(FILES STREQUAL "")
  set(files "")
else()
  string(REPLACE "|" ";" files "${FILES}")
endif()

set(body "// Generated at build time from the files under resources/. Do not edit.\n#include \"platform/EmbeddedResources.h\"\n\nnamespace platform::detail\n{\n")
set(table "")
set(index 0)
foreach(file IN LISTS files)
  get_filename_component(file_name ${file} NAME)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  # One trailing zero, so text resources can be read as C strings; it is not
  # counted in the size.
  string(APPEND body "static const unsigned char resource${index}[] = {\n${bytes}0x00};\n")
  string(APPEND table "    { \"${file_name}\", resource${index}, ${size} },\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND body "\nconst EmbeddedFile embeddedFiles[] = {\n${table}    { nullptr, nullptr, 0 }\n};\n}\n")

file(WRITE ${OUTPUT}.tmp "${body}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)

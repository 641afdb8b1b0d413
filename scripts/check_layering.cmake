# Checks the layering of the sources; run by ctest as the test "layering":
#   cmake -DSOURCE_DIR=<repository>/src -P check_layering.cmake
# Fails, listing every offending line, when
#   - a file of src/platform includes a header of the Lisp side (anything
#     but platform/): the platform layer knows nothing of Lisp;
#   - a file of src/core includes a header from a folder above it (anything
#     but core/ and platform/);
#   - a file outside src/platform includes a host library's header (SDL,
#     FreeType, fontconfig, pixman, libpng), or a platform header that names
#     one is included from outside its own folder: code that Lisp-side code
#     sees never does.
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<src> -P check_layering.cmake")
endif()

set(host_headers "SDL[^/]*\\.h|SDL2/|ft2build\\.h|freetype/|fontconfig/|pixman|png\\.h")
set(problems "")

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(file ${sources})
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include")
  string(REGEX MATCH "^[^/]+" folder ${file})
  foreach(line ${includes})
    set(bad "")
    if(line MATCHES "\"([a-z_]+)/")
      set(target ${CMAKE_MATCH_1})
      if(folder STREQUAL "platform" AND NOT target STREQUAL "platform")
        set(bad "the platform layer includes the Lisp side")
      elseif(folder STREQUAL "core" AND NOT target MATCHES "^(core|platform)$")
        set(bad "the core includes a folder above it")
      endif()
    endif()
    if(line MATCHES "[<\"](${host_headers})")
      if(NOT folder STREQUAL "platform")
        set(bad "a host library's header outside the platform layer")
      elseif(file MATCHES "\\.h$")
        list(APPEND private_headers ${file})
      endif()
    endif()
    if(bad)
      string(STRIP "${line}" line)
      string(APPEND problems "  src/${file}: ${line} (${bad})\n")
    endif()
  endforeach()
endforeach()

# A platform header may name a host library only while it stays private to
# its own folder (a backend's or the fonts' inner header).
foreach(header ${private_headers})
  get_filename_component(home ${header} DIRECTORY)
  foreach(file ${sources})
    get_filename_component(dir ${file} DIRECTORY)
    if(NOT dir STREQUAL home)
      file(STRINGS ${SOURCE_DIR}/${file} uses REGEX "#[ \t]*include[ \t]*\"${header}\"")
      if(uses)
        string(APPEND problems "  src/${file}: includes ${header} (a header naming a host library, outside its own folder)\n")
      endif()
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Layering broken:\n${problems}")
endif()
message(STATUS "Layering kept: ${SOURCE_DIR}")

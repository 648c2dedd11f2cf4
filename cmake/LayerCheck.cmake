# LayerCheck.cmake: no source includes a folder above its own.
#
# check_layers(ROOT <folder> LAYERS <top> ... <bottom>) reads every .h and
# .cpp under each layer's folder, its subfolders too, and stops with an error
# at the first include that names a layer above the file's own. Every
# spelling counts: spaces around '#', angle brackets, backslashes, a path
# that climbs out with "..", and any letter case; an include of a macro,
# which cannot be read, is refused as well.
#
# Run as a script, it checks the tree given:
#   cmake -DROOT=<folder> "-DLAYERS=app;ui;...;win" -P LayerCheck.cmake

# The layer an include names, or "" for none: the path is looked up beside
# the including file first, then from the root, as the compiler looks it up.
function(layer_of_include file root path out)
  string(REPLACE "\\" "/" path "${path}")
  get_filename_component(folder "${file}" DIRECTORY)
  get_filename_component(found "${folder}/${path}" ABSOLUTE)
  if(NOT EXISTS "${found}")
    get_filename_component(found "${root}/${path}" ABSOLUTE)
  endif()
  file(RELATIVE_PATH relative "${root}" "${found}")
  set(named "")
  if(relative MATCHES "^([^/.][^/]*)/")
    string(TOLOWER "${CMAKE_MATCH_1}" named)
  endif()
  set(${out} "${named}" PARENT_SCOPE)
endfunction()

function(check_layers)
  cmake_parse_arguments(CHECK "" "ROOT" "LAYERS" ${ARGN})
  get_filename_component(root "${CHECK_ROOT}" ABSOLUTE)
  foreach(layer IN LISTS CHECK_LAYERS)
    list(FIND CHECK_LAYERS ${layer} position)
    file(GLOB_RECURSE files "${root}/${layer}/*.h" "${root}/${layer}/*.cpp")
    foreach(file IN LISTS files)
      file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
      foreach(line IN LISTS lines)
        if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
          message(FATAL_ERROR "${file}: an include whose folder cannot be read: ${line}")
        endif()
        layer_of_include("${file}" "${root}" "${CMAKE_MATCH_1}" included)
        list(FIND CHECK_LAYERS "${included}" includedPosition)
        if(includedPosition GREATER_EQUAL 0 AND includedPosition LESS position)
          message(FATAL_ERROR "${file} includes ${included}/, which is above ${layer}/")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND ROOT)
  check_layers(ROOT "${ROOT}" LAYERS ${LAYERS})
endif()

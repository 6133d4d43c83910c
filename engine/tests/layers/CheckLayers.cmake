# Keeps the engine's folders in layers: a file may include headers of its own
# folder and of folders on lower layers only, so no two folders depend on
# each other. Run as a test: cmake -DSOURCE_DIR=<engine/src> -P CheckLayers.cmake
#
cmake_minimum_required(VERSION 3.25)

# Layer of each folder (a folder may include only lower layers):
set(layer_core 0)
set(layer_cipher 0)
set(layer_db 1)
set(layer_filters 1)
set(layer_schema 2)
set(layer_mapping 2)
set(layer_stores 2)
set(layer_attachments 3)
set(layer_classifications 3)
set(layer_projects 4)
set(layer_users 5)
set(layer_bugs 5)
set(layer_admin 6)
set(layer_context 7)

# Upward includes that remain until the row <-> object mapping works on plain
# records instead of the objects; add nothing here.
set(known_upward "mapping->bugs" "mapping->projects" "mapping->users")

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(faults "")
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" folder ${source})
  if(NOT DEFINED layer_${folder})
    string(APPEND faults "\n  ${source}: folder '${folder}' has no layer in CheckLayers.cmake")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[a-z]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target ${line})
    if(target STREQUAL folder OR "${folder}->${target}" IN_LIST known_upward)
      continue()
    endif()
    if(NOT DEFINED layer_${target})
      string(APPEND faults "\n  ${source}: includes unknown folder '${target}'")
    elseif(NOT layer_${target} LESS layer_${folder})
      string(APPEND faults "\n  ${source}: ${line} (layer ${layer_${target}} from layer ${layer_${folder}})")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the engine's layers:${faults}")
endif()
list(LENGTH sources count)
message(STATUS "${count} engine files keep to their layers")

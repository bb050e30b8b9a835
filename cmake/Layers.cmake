# Libraries declared from their own folders, and the check that keeps the
# layers honest: a library's sources may include headers of its own folder and
# of the libraries it links (and theirs, downwards), never of a layer above.

# add_folder_library(<name> [LIBS <libraries>...] [EXCLUDE <regex>...])
# Every .cpp and .h under the calling folder (and its subfolders) is a source.
function(add_folder_library name)
  cmake_parse_arguments(ARG "" "" "LIBS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ex}")
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  target_compile_options(${name} PRIVATE -Wall -Wextra)

  file(RELATIVE_PATH own ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  _layer_roots(roots ${ARG_LIBS})
  list(PREPEND roots ${own})
  set_target_properties(${name} PROPERTIES LAYER_ROOTS "${roots}")
  _check_layer_includes(${name} "${sources}" "${roots}")
endfunction()

# A program: its folder's main.cpp linked with its libraries, built at the top
# of the build folder, where the host stand-in finds its sibling programs.
function(add_program name)
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_link_libraries(${name} PRIVATE ${ARGN})
  _layer_roots(roots ${ARGN})
  _check_layer_includes(${name} "${CMAKE_CURRENT_SOURCE_DIR}/main.cpp" "${roots}")
endfunction()

# The folders the given libraries and those below them hold.
function(_layer_roots out)
  set(roots)
  foreach(lib IN LISTS ARGN)
    if(TARGET ${lib})
      get_target_property(below ${lib} LAYER_ROOTS)
      if(below)
        list(APPEND roots ${below})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES roots)
  set(${out} ${roots} PARENT_SCOPE)
endfunction()

function(_check_layer_includes name sources roots)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.layers)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} "-DSOURCES=${sources}"
            "-DALLOWED=${roots}" -DSTAMP=${stamp} -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
    DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMENT "Checking the layers of ${name}"
    VERBATIM)
  add_custom_target(${name}_layers DEPENDS ${stamp})
  add_dependencies(${name} ${name}_layers)
endfunction()

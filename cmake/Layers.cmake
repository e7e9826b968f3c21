# The layers under src/, bottom to top. A layer uses only itself and the layers before it:
#   platform   Win32 services every layer uses: handles, registry, paths, message and question seams
#   toolkit    the small dialog layer over raw Win32
#   config     the configuration: cipher, ini files, the shared store, file utilities
#   skin       skinned elements, controls and bitmaps
#   favorites  the store tree, bookmark files and the favorites transfers
#   archive    the page archive: ".sad" container, export and import
#   ui         the wizards and their pages, the skinned message box
#   app        the process entry and the run modes
#   tool       nvtool
set(NV_LAYERS platform toolkit config skin favorites archive ui app tool)

# Every src/<layer>/sources.cmake lists its PORTABLE_SOURCES (no operating system) and its
# WINDOWS_SOURCES (Win32 API); they are kept per layer as NV_<layer>_PORTABLE_SOURCES and
# NV_<layer>_WINDOWS_SOURCES.
foreach(layer ${NV_LAYERS})
  set(PORTABLE_SOURCES)
  set(WINDOWS_SOURCES)
  include(${CMAKE_SOURCE_DIR}/src/${layer}/sources.cmake OPTIONAL)
  set(NV_${layer}_PORTABLE_SOURCES ${PORTABLE_SOURCES})
  set(NV_${layer}_WINDOWS_SOURCES ${WINDOWS_SOURCES})
endforeach()

# The include root of a layer, <build>/layers/<layer>/, links <name> -> src/<name> for the layer
# itself and every layer below it, and nothing else. A layer's sources see no other headers, so
# an #include of a higher layer's header does not compile ("No such file or directory").
function(nv_layer_include_root layer result)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${root})
  foreach(visible ${NV_LAYERS})
    if(NOT IS_SYMLINK ${root}/${visible})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${visible} ${root}/${visible} SYMBOLIC)
    endif()
    if(visible STREQUAL layer)
      break()
    endif()
  endforeach()
  set(${result} ${root} PARENT_SCOPE)
endfunction()

# The headers of a layer that none of its own sources includes, each compiled on its own against
# the layer's include root (generated one-line sources): so every header of a layer is checked
# against that layer's root, not only against the roots of the layers above that include it.
function(nv_layer_header_checks layer result)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${layer}/*.h)
  set(sourceText)
  foreach(source ${NV_${layer}_PORTABLE_SOURCES} ${NV_${layer}_WINDOWS_SOURCES})
    file(READ ${source} content)
    string(APPEND sourceText "${content}")
  endforeach()
  set(checks)
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    string(FIND "${sourceText}" "#include \"${layer}/${name}\"" at)
    if(at EQUAL -1)
      set(check ${CMAKE_BINARY_DIR}/layers/header_checks/${layer}/${name}.cpp)
      file(CONFIGURE OUTPUT ${check} CONTENT "#include \"${layer}/${name}\"\n")
      list(APPEND checks ${check})
    endif()
  endforeach()
  set(${result} ${checks} PARENT_SCOPE)
endfunction()

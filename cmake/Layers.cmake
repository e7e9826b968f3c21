# The layers under src/ and what each may use besides itself. They form a graph, not a chain:
#   platform   Win32 services every layer uses: handles, files, registry, paths, the host (questions, messages)
#   toolkit    the small dialog layer over raw Win32                        (platform)
#   config     the configuration: cipher, ini files, the shared store       (platform)
#   skin       skinned elements, controls and bitmaps                       (platform, toolkit, config)
#   store      the store tree: nodes, child lists, the last import's record (platform, config)
#   favorites  bookmark files, browsers and the favorites transfers         (platform, config, store)
#   archive    the page archive: ".sad" container, export and import       (platform, config, store)
#   ui         the wizards and their pages, the skinned message box         (every layer above)
#   app        the process entry and the run modes                          (every layer above)
#   tool       nvtool                                       (platform, config, store, favorites, archive)
# NV_LAYERS lists them in an order where every layer comes after the layers it uses.
set(NV_LAYERS platform toolkit config skin store favorites archive ui app tool)
set(NV_USES_platform)
set(NV_USES_toolkit platform)
set(NV_USES_config platform)
set(NV_USES_skin platform toolkit config)
set(NV_USES_store platform config)
set(NV_USES_favorites platform config store)
set(NV_USES_archive platform config store)
set(NV_USES_ui platform toolkit config skin store favorites archive)
set(NV_USES_app ${NV_USES_ui} ui)
set(NV_USES_tool platform config store favorites archive)

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
# itself and the layers it uses, and nothing else. A layer's sources see no other headers, so an
# #include of another layer's header does not compile ("No such file or directory").
function(nv_layer_include_root layer result)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${root})
  file(GLOB links ${root}/*)
  foreach(link ${links})
    get_filename_component(name ${link} NAME)
    if(NOT name IN_LIST NV_USES_${layer} AND NOT name STREQUAL layer)
      file(REMOVE ${link}) # a layer this one no longer uses
    endif()
  endforeach()
  foreach(visible ${layer} ${NV_USES_${layer}})
    if(NOT IS_SYMLINK ${root}/${visible})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${visible} ${root}/${visible} SYMBOLIC)
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

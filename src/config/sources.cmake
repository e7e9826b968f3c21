list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Blowfish.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BlowfishTables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Enciphered.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FlatIndex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IniDocument.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProfileText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Sha256.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SharedText.cpp
)
list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AtomicReplace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProcessStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SharedStore.cpp
)
# The cipher runs over every configuration file: optimise it fully in every build type.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/Blowfish.cpp PROPERTIES COMPILE_OPTIONS "-O3")

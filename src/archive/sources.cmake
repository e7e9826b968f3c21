list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageFiles.cpp
)
list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveExport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveFileSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveUndo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileArchive.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileChecks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordAppender.cpp
)

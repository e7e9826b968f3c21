list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkNode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FavoritePaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StoreTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Utf8Decoder.cpp
)
list(APPEND WINDOWS_SOURCES
)

list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkNode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChromiumBookmarks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChromiumLocalState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FavoritePaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImportRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LeftOutEntries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StoreTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Utf8Decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Utf8Encoder.cpp
)
list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserProfiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExplorerFavorites.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FavoritesStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderTreeView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InternetShortcut.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LastImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NetscapeProfiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NetscapeTransfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReplaceFile.cpp
)

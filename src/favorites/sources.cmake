list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkNode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserNodes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChromiumBookmarks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChromiumLocalState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FavoritePaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirefoxBackup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirefoxPlaces.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirefoxProfilesIni.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlacesDatabase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Utf8Decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Utf8Encoder.cpp
)
list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserProfiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExplorerFavorites.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirefoxBookmarks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InternetShortcut.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NetscapeProfiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NetscapeTransfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReplaceFile.cpp
)

list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConsoleHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FavoritesCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NvTool.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StoreCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UndoCommands.cpp
)

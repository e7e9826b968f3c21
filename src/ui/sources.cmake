list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ArchivAssistentDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchivFilePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AssistentFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DirectionPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FavAssistentDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FavSourcePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileChooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderTreeView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreeDragDrop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreeRubberBand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreeSelection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UndoChoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WizardPage.cpp
)

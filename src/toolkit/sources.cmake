list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CaptureTracker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubclassedWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreeView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Window.cpp
)

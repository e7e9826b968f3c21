list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BmpFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LayoutParsing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RowRuns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpanResolution.cpp
)
list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ManagedElement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManagedElementList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinBitmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinCheckBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinStatic.cpp
)

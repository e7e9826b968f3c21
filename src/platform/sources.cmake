list(APPEND WINDOWS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/FileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageSeam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Platform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProfileValues.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramPaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QuestionSeam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Registry.cpp
)

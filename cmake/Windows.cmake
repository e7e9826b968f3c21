# Windows build: the program, the command-line companion and the Windows test executables.
set(NV_WARNINGS -Wall -Wextra -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports false -Wrestrict overlaps inside std::string concatenation at -O2/-O3.
  list(APPEND NV_WARNINGS -Wno-restrict)
endif()
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX STRICT _CRT_SECURE_NO_WARNINGS)
add_link_options(-static -static-libgcc -static-libstdc++)

set(NV_SYSTEM_LIBS comctl32 comdlg32 ole32 oleaut32 uuid gdi32 user32 shell32 advapi32 msimg32)

add_library(nvwin STATIC ${PORTABLE_SOURCES} ${WINDOWS_SOURCES})
target_include_directories(nvwin PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(nvwin PRIVATE ${NV_WARNINGS})
target_link_libraries(nvwin PUBLIC ${NV_SYSTEM_LIBS})

file(GLOB NV_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)
add_executable(ImportExport WIN32 ${CMAKE_SOURCE_DIR}/src/app/WinMain.cpp ${NV_RESOURCES})
target_link_libraries(ImportExport PRIVATE nvwin)
target_compile_options(ImportExport PRIVATE ${NV_WARNINGS})

file(GLOB NVTOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/tool/*.cpp)
add_executable(nvtool ${NVTOOL_SOURCES})
target_link_libraries(nvtool PRIVATE nvwin)
target_compile_options(nvtool PRIVATE ${NV_WARNINGS})

# GoogleTest built from Debian's sources with the cross compiler.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One test executable per area: tests/<area>/win/*.cpp, linked with the shared test support.
file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(nvtestsupport STATIC ${WIN_TEST_SUPPORT})
target_link_libraries(nvtestsupport PUBLIC nvwin gtest)
target_include_directories(nvtestsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests)

set(NV_WIN_TEST_TARGETS)
foreach(area app config favorites archive ui skin)
  file(GLOB area_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${area}/win/*.cpp)
  if(area_sources)
    add_executable(${area}_tests ${area_sources})
    target_link_libraries(${area}_tests PRIVATE nvtestsupport)
    target_compile_options(${area}_tests PRIVATE ${NV_WARNINGS})
    list(APPEND NV_WIN_TEST_TARGETS ${area}_tests)
  endif()
endforeach()

# Small helper programs that tests start as separate processes: tests/helpers/*.cpp.
file(GLOB TEST_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/helpers/*.cpp)
foreach(src ${TEST_HELPERS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE nvwin)
endforeach()

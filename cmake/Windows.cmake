# Windows build: the program, the command-line companion and the Windows test executables.
set(NV_WARNINGS -Wall -Wextra -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports false -Wrestrict overlaps inside std::string concatenation at -O2/-O3.
  list(APPEND NV_WARNINGS -Wno-restrict)
endif()
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX STRICT _CRT_SECURE_NO_WARNINGS)
add_link_options(-static -static-libgcc -static-libstdc++)

set(NV_SYSTEM_LIBS comctl32 comdlg32 ole32 oleaut32 uuid gdi32 user32 shell32 advapi32 msimg32)

# One static library per layer, nv<layer>, compiled against the layer's include root and linked
# with the libraries of the layers it uses: a call into any other layer has no header to declare
# it and no library to define it. The top layer, tool, is the nvtool executable.
foreach(layer ${NV_LAYERS})
  if(layer STREQUAL "tool")
    break()
  endif()
  nv_layer_include_root(${layer} root)
  nv_layer_header_checks(${layer} checks)
  add_library(nv${layer} STATIC ${NV_${layer}_PORTABLE_SOURCES} ${NV_${layer}_WINDOWS_SOURCES} ${checks})
  target_include_directories(nv${layer} PRIVATE ${root})
  target_compile_options(nv${layer} PRIVATE ${NV_WARNINGS})
  foreach(used ${NV_USES_${layer}})
    target_link_libraries(nv${layer} PUBLIC nv${used})
  endforeach()
endforeach()
target_link_libraries(nvplatform PUBLIC ${NV_SYSTEM_LIBS})

# The JSON headers (Debian's nlohmann-json3-dev) come from a folder that holds only them: the
# cross compiler must not see the host's other headers in /usr/include.
if(NOT EXISTS /usr/include/nlohmann/json.hpp)
  message(FATAL_ERROR "nlohmann/json.hpp is missing: scripts/install-deps.sh installs nlohmann-json3-dev")
endif()
set(NV_JSON_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${NV_JSON_INCLUDE})
if(NOT IS_SYMLINK ${NV_JSON_INCLUDE}/nlohmann)
  file(CREATE_LINK /usr/include/nlohmann ${NV_JSON_INCLUDE}/nlohmann SYMBOLIC)
endif()
target_include_directories(nvfavorites SYSTEM PRIVATE ${NV_JSON_INCLUDE})
include(cmake/ThirdParty.cmake)
target_link_libraries(nvfavorites PUBLIC nvsqlite nvlz4)

# The resources (dialog templates, icon, version, manifest) go into the program and into every
# Windows test executable, whose dialogs are built from the same templates.
file(GLOB NV_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)
add_library(nvresources OBJECT ${NV_RESOURCES})
target_include_directories(nvresources PRIVATE ${CMAKE_SOURCE_DIR}/resources ${CMAKE_SOURCE_DIR}/src)
add_executable(ImportExport WIN32 ${CMAKE_SOURCE_DIR}/src/app/WinMain.cpp $<TARGET_OBJECTS:nvresources>)
nv_layer_include_root(app root)
target_include_directories(ImportExport PRIVATE ${root})
target_link_libraries(ImportExport PRIVATE nvapp)
target_compile_options(ImportExport PRIVATE ${NV_WARNINGS})

nv_layer_include_root(tool root)
nv_layer_header_checks(tool checks)
add_executable(nvtool ${NV_tool_WINDOWS_SOURCES} ${checks})
target_include_directories(nvtool PRIVATE ${root})
foreach(used ${NV_USES_tool})
  target_link_libraries(nvtool PRIVATE nv${used})
endforeach()
target_compile_options(nvtool PRIVATE ${NV_WARNINGS})

# GoogleTest built from Debian's sources with the cross compiler.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One test executable per area: tests/<area>/win/*.cpp, linked with the shared test support.
# Tests and their helper programs see every layer (src/).
file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(nvtestsupport STATIC ${WIN_TEST_SUPPORT})
target_link_libraries(nvtestsupport PUBLIC nvapp gtest)
target_include_directories(nvtestsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)

set(NV_WIN_TEST_TARGETS)
foreach(area platform config skin store favorites archive ui app)
  file(GLOB area_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${area}/win/*.cpp)
  if(area_sources)
    add_executable(${area}_tests ${area_sources} $<TARGET_OBJECTS:nvresources>)
    target_link_libraries(${area}_tests PRIVATE nvtestsupport)
    target_compile_options(${area}_tests PRIVATE ${NV_WARNINGS})
    list(APPEND NV_WIN_TEST_TARGETS ${area}_tests)
  endif()
endforeach()

# The guided tour of scripts/demo.sh: drives the real program in the demo prefix (no *_tests name:
# the test runs do not pick it up).
file(GLOB DEMO_TOUR_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/demo/*.cpp)
add_executable(demo_tour ${DEMO_TOUR_SOURCES})
target_link_libraries(demo_tour PRIVATE nvtestsupport)
target_compile_options(demo_tour PRIVATE ${NV_WARNINGS})

# Small helper programs that tests start as separate processes: tests/helpers/*.cpp.
file(GLOB TEST_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/helpers/*.cpp)
foreach(src ${TEST_HELPERS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE nvapp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
endforeach()

# The default skin beside the program: Skin0000.ini, its bitmaps in Skin0000\ and the default
# user.ini (defaults\user.ini), generated by scripts/gen_skin.py.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
file(GLOB NV_SKIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/skin/*)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/Skin0000.ini ${CMAKE_BINARY_DIR}/defaults/user.ini
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/gen_skin.py ${CMAKE_SOURCE_DIR}/resources/skin ${CMAKE_BINARY_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/gen_skin.py ${NV_SKIN_SOURCES}
  COMMENT "Generating the default skin")
add_custom_target(default_skin ALL DEPENDS ${CMAKE_BINARY_DIR}/Skin0000.ini ${CMAKE_BINARY_DIR}/defaults/user.ini)

# The start-up benchmark (bench/startup.sh): its driver and the bare window the frame is measured
# against. Plain Win32, without the program's layers.
add_executable(startup_bench ${CMAKE_SOURCE_DIR}/bench/win/StartupBench.cpp)
add_executable(bare_window WIN32 ${CMAKE_SOURCE_DIR}/bench/win/BareWindow.cpp)
foreach(target startup_bench bare_window)
  target_compile_options(${target} PRIVATE ${NV_WARNINGS})
endforeach()

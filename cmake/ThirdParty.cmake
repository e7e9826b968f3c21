# SQLite (its amalgamation sqlite3.c) and LZ4 (lib/lz4.c) from Debian's source packages of this
# release: scripts/fetch-sources.sh (run by scripts/build.sh) puts them into build/third_party/,
# each folder holding only the library's source and header. Every build compiles them once into
# a static library of its own, with its own flags: without the project's warnings, at -O1 (half
# the compile time of -O2 for SQLite, and a places database of 20,000 links still reads in a tenth
# of a second) and, in the sanitizer build, without instrumentation and unoptimised.
set(NV_THIRD_PARTY_DIR ${CMAKE_SOURCE_DIR}/build/third_party CACHE PATH "fetched third-party sources")
foreach(file sqlite/sqlite3.c sqlite/sqlite3.h lz4/lz4.c lz4/lz4.h)
  if(NOT EXISTS ${NV_THIRD_PARTY_DIR}/${file})
    message(FATAL_ERROR "${NV_THIRD_PARTY_DIR}/${file} is missing: scripts/fetch-sources.sh fetches it")
  endif()
endforeach()

if(NV_SANITIZE)
  set(NV_THIRD_PARTY_OPTIONS -O0 -g0)
else()
  set(NV_THIRD_PARTY_OPTIONS -O1 -g0)
endif()

add_library(nvsqlite STATIC ${NV_THIRD_PARTY_DIR}/sqlite/sqlite3.c)
target_include_directories(nvsqlite SYSTEM PUBLIC ${NV_THIRD_PARTY_DIR}/sqlite)
# One thread, no extensions loaded from files, no statistics; the rest as SQLite comes.
target_compile_definitions(nvsqlite PRIVATE SQLITE_THREADSAFE=0 SQLITE_OMIT_LOAD_EXTENSION
                           SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_DQS=0 SQLITE_OMIT_DEPRECATED)

add_library(nvlz4 STATIC ${NV_THIRD_PARTY_DIR}/lz4/lz4.c)
target_include_directories(nvlz4 SYSTEM PUBLIC ${NV_THIRD_PARTY_DIR}/lz4)

# Set, not added to: the directory's options (sanitizers, warnings) stay out.
set_property(TARGET nvsqlite nvlz4 PROPERTY COMPILE_OPTIONS ${NV_THIRD_PARTY_OPTIONS})

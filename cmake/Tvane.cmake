# Helpers shared by every folder's CMakeLists.txt.

# A folder whose code (or tests) need Qt calls this first; the headless (sanitizer)
# build then skips the whole folder. It also switches on moc, uic and rcc for the
# folder, so headless folders are not slowed down by them.
macro(tvane_qt_only)
  if(TVANE_HEADLESS)
    return()
  endif()
  set(CMAKE_AUTOMOC ON)
  set(CMAKE_AUTOUIC ON)
  set(CMAKE_AUTORCC ON)
  set(TVANE_QT_FOLDER ON)
endmacro()

# Qt's headers are most of what a Qt file costs to compile, so the libraries of the
# Qt folders are compiled as unity sources of up to 8 files each: one parse of Qt per
# batch, about a fifth of the cost. Names at file scope must therefore differ between
# the files of a Qt library. (Precompiled headers gain nothing with gcc: loading the
# ~200 MB header dump costs about what parsing Qt does.) TVANE_QT_UNITY=OFF compiles the
# libraries file by file.
option(TVANE_QT_UNITY "Compile the Qt folders' libraries as unity sources" ON)

# tvane_library(<target> [SHARED] [DEPS <targets>...] [PRIVATE_DEPS <targets>...]
#               [EXCLUDE <files>...])
# A static (or shared) library of all .cpp files of the calling folder, less the
# EXCLUDE ones (a deliverable's entry point); headers are included as
# "<folder>/<File>.h" from the source root.
function(tvane_library target)
  cmake_parse_arguments(L "SHARED" "" "DEPS;PRIVATE_DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex IN LISTS L_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB forms CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  if(L_SHARED)
    add_library(${target} SHARED ${sources} ${headers} ${forms})
  else()
    add_library(${target} STATIC ${sources} ${headers} ${forms})
  endif()
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
  if(TVANE_QT_FOLDER AND TVANE_QT_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
endfunction()

# GoogleTest's (and Qt's) headers are likewise most of what a test file costs, so the
# test executables are compiled as unity sources of up to TVANE_TEST_UNITY_BATCH files
# too. Names at file scope (also in anonymous namespaces) must differ between the files
# of a tests folder; a file that cannot share is listed under tvane_test's SEPARATE.
option(TVANE_TEST_UNITY "Compile the test executables as unity sources" ON)
set(TVANE_TEST_UNITY_BATCH 8 CACHE STRING "Test files per unity source (0: a folder's all)")

# tvane_test(<target> LIBS <targets>... [SOURCES <files>...] [SEPARATE <files>...])
# One GoogleTest executable of all .cpp files of the calling tests folder (or of
# SOURCES). SEPARATE files (names relative to the folder) stay out of the unity sources.
# TVANE_TEST_DATA points at the folder's data/ fixtures.
function(tvane_test target)
  cmake_parse_arguments(T "" "" "LIBS;SOURCES;SEPARATE" ${ARGN})
  if(NOT T_SOURCES)
    file(GLOB T_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT T_SOURCES)
    return()  # a tests folder that has no tests yet
  endif()
  add_executable(${target} ${T_SOURCES})
  if(TVANE_TEST_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON
                          UNITY_BUILD_BATCH_SIZE ${TVANE_TEST_UNITY_BATCH})
    foreach(file IN LISTS T_SEPARATE)
      set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/${file} PROPERTIES
                                  SKIP_UNITY_BUILD_INCLUSION ON)
    endforeach()
  endif()
  target_link_libraries(${target} PRIVATE ${T_LIBS} tvane_testsupport GTest::gmock GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    TVANE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
    TVANE_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# tvane_module(<target> DEPS <targets>...)
# A shared library loaded at run time by name (no "lib" prefix), e.g. KXQT7100.so.
function(tvane_module target)
  cmake_parse_arguments(M "" "" "DEPS;SOURCES" ${ARGN})
  add_library(${target} MODULE ${M_SOURCES})
  set_target_properties(${target} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden)
  target_link_libraries(${target} PRIVATE ${M_DEPS})
endfunction()

# tvane_fuzzer(<name> CORPUS <folder> SOURCES <files>... LIBS <targets>...)
# A libFuzzer harness tvane_<name>_fuzzer, built only with TVANE_FUZZ (scripts/fuzz).
# Its entry (fuzz/*Fuzzer.cpp) calls the body that the folder's tests also run over
# every file of CORPUS: the seeds and each input that ever found a fault.
function(tvane_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT TVANE_FUZZ)
    return()
  endif()
  add_executable(tvane_${name}_fuzzer ${F_SOURCES})
  target_link_libraries(tvane_${name}_fuzzer PRIVATE ${F_LIBS})
  target_link_options(tvane_${name}_fuzzer PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY TVANE_FUZZERS
               "${name}|${CMAKE_CURRENT_SOURCE_DIR}/${F_CORPUS}")
endfunction()

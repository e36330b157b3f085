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
# GROUPED: the caller gave the sources their UNITY_GROUP (tvane_unity_groups) instead of
# the batches of the sorted files.
function(tvane_test target)
  cmake_parse_arguments(T "GROUPED" "" "LIBS;SOURCES;SEPARATE" ${ARGN})
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
    if(T_GROUPED)
      set_target_properties(${target} PROPERTIES UNITY_BUILD_MODE GROUP)
    endif()
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

# tvane_unity_groups(<prefix> <size> <files>...)
# Puts the .cpp files, in sorted order, into unity groups of up to size files
# (0: all in one) named <prefix>_<n>, for targets made in this folder with
# UNITY_BUILD_MODE GROUP: a group never takes files of two prefixes, so names
# at file scope need only differ within one prefix's files.
function(tvane_unity_groups prefix size)
  set(files ${ARGN})
  list(FILTER files INCLUDE REGEX "\\.cpp$")
  list(SORT files)
  set(index 0)
  foreach(file IN LISTS files)
    if(size GREATER 0)
      math(EXPR group "${index} / ${size}")
    else()
      set(group 0)
    endif()
    set_source_files_properties(${file} PROPERTIES UNITY_GROUP ${prefix}_${group})
    math(EXPR index "${index} + 1")
  endforeach()
endfunction()

# --- Display families ----------------------------------------------------------------
# A display family lives in graphics/displays/<family>/ (its model, windows, pages and
# forms) with its tests in tests/graphics/displays/<family>/, and is listed once in
# graphics/displays/CMakeLists.txt. The models of all families make one library,
# tvane_displays, built in the headless (sanitizer) build too; their windows and pages
# make tvane_displaysview. A family registers itself from its own code when the
# program (or a test) is linked, so both are linked whole: link tvane_displays or
# tvane_displaysview, never the _lib archives. The families' headless tests join
# the framework's headless test program, their Qt tests the graphics windows'
# (tvane_graphics_test); the unity sources never mix folders, so names at file
# scope need only differ within one family's folder.

# tvane_display_family([WINDOWS <names>...] [WINDOW_TESTS <names>...]
#                      [LIBS <targets>...] [VIEW_LIBS <targets>...])
# In the family's CMakeLists.txt: the files named <name>.cpp/.h of WINDOWS, and the
# folder's .ui forms, need Qt (windows and pages); every other file is the model and
# must not. WINDOW_TESTS names the family's test files that need Qt. LIBS are the
# shared libraries its model uses (tvane_displays links them), VIEW_LIBS those its
# windows use (tvane_displaysview links them).
function(tvane_display_family)
  cmake_parse_arguments(F "" "" "WINDOWS;WINDOW_TESTS;LIBS;VIEW_LIBS" ${ARGN})
  get_filename_component(family ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set_property(GLOBAL PROPERTY TVANE_DISPLAY_WINDOWS_${family} ${F_WINDOWS})
  set_property(GLOBAL PROPERTY TVANE_DISPLAY_WINDOW_TESTS_${family} ${F_WINDOW_TESTS})
  set_property(GLOBAL APPEND PROPERTY TVANE_DISPLAY_LIBS ${F_LIBS})
  set_property(GLOBAL APPEND PROPERTY TVANE_DISPLAY_VIEW_LIBS ${F_VIEW_LIBS})
endfunction()

# Splits the .cpp and .h files of folder by the names in the list windowsVar into
# <outPrefix>_MODEL and <outPrefix>_WINDOWS.
function(tvane_split_display_files folder windowsVar outPrefix)
  file(GLOB files CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  set(model)
  set(windows)
  foreach(file IN LISTS files)
    get_filename_component(stem ${file} NAME_WE)
    if(stem IN_LIST ${windowsVar})
      list(APPEND windows ${file})
    else()
      list(APPEND model ${file})
    endif()
  endforeach()
  set(${outPrefix}_MODEL ${model} PARENT_SCOPE)
  set(${outPrefix}_WINDOWS ${windows} PARENT_SCOPE)
endfunction()

# tvane_display_families(<family>...): the one list of graphics/displays/CMakeLists.txt.
function(tvane_display_families)
  set_property(GLOBAL PROPERTY TVANE_DISPLAY_FAMILIES ${ARGN})
  set(model)
  set(windows)
  set(folders)
  foreach(family IN LISTS ARGN)
    set(folder ${CMAKE_CURRENT_SOURCE_DIR}/${family})
    add_subdirectory(${family})
    get_property(names GLOBAL PROPERTY TVANE_DISPLAY_WINDOWS_${family})
    tvane_split_display_files(${folder} names split)
    file(GLOB forms CONFIGURE_DEPENDS ${folder}/*.ui)
    tvane_unity_groups(${family} 8 ${split_MODEL})
    tvane_unity_groups(${family} 8 ${split_WINDOWS})
    list(APPEND model ${split_MODEL})
    list(APPEND windows ${split_WINDOWS} ${forms})
    list(APPEND folders ${folder})
  endforeach()
  set_property(GLOBAL PROPERTY TVANE_DISPLAY_FOLDERS ${folders})

  add_library(tvane_displays_lib STATIC ${model})
  if(TVANE_QT_UNITY)
    # The models of a family compile together too: both builds compile them.
    set_target_properties(tvane_displays_lib PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
  endif()
  target_include_directories(tvane_displays_lib PUBLIC ${CMAKE_SOURCE_DIR})
  get_property(libs GLOBAL PROPERTY TVANE_DISPLAY_LIBS)
  list(REMOVE_DUPLICATES libs)
  target_link_libraries(tvane_displays_lib PUBLIC tvane_graphics ${libs})
  add_library(tvane_displays INTERFACE)
  target_link_libraries(tvane_displays INTERFACE "$<LINK_LIBRARY:WHOLE_ARCHIVE,tvane_displays_lib>")
  if(TVANE_HEADLESS)
    return()
  endif()

  add_library(tvane_displaysview_lib STATIC ${windows})
  set_target_properties(tvane_displaysview_lib PROPERTIES AUTOMOC ON AUTOUIC ON)
  if(TVANE_QT_UNITY)
    set_target_properties(tvane_displaysview_lib PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
  endif()
  get_property(viewLibs GLOBAL PROPERTY TVANE_DISPLAY_VIEW_LIBS)
  list(REMOVE_DUPLICATES viewLibs)
  target_link_libraries(tvane_displaysview_lib PUBLIC tvane_displays tvane_graphicsview
                        tvane_graphicspages ${viewLibs})
  add_library(tvane_displaysview INTERFACE)
  target_link_libraries(tvane_displaysview INTERFACE
                        "$<LINK_LIBRARY:WHOLE_ARCHIVE,tvane_displaysview_lib>")
endfunction()

# tvane_graphics_test(<target> MODEL|WINDOWS [FOLDERS <folders>...] LIBS <targets>...)
# The test program of a graphics folder: its own .cpp files, those of the other
# framework test FOLDERS (relative to tests/graphics; their names must differ from
# this folder's), and every display family's tests of that kind
# (tests/graphics/displays/<family>/: MODEL the headless ones, WINDOWS the
# WINDOW_TESTS), each family in unity groups of its own.
function(tvane_graphics_test target)
  cmake_parse_arguments(G "MODEL;WINDOWS" "" "FOLDERS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(folder IN LISTS G_FOLDERS)
    file(GLOB more CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/graphics/${folder}/*.cpp)
    list(APPEND sources ${more})
  endforeach()
  tvane_unity_groups(framework ${TVANE_TEST_UNITY_BATCH} ${sources})
  get_property(families GLOBAL PROPERTY TVANE_DISPLAY_FAMILIES)
  foreach(family IN LISTS families)
    get_property(names GLOBAL PROPERTY TVANE_DISPLAY_WINDOW_TESTS_${family})
    tvane_split_display_files(${CMAKE_SOURCE_DIR}/tests/graphics/displays/${family} names split)
    if(G_WINDOWS)
      set(tests ${split_WINDOWS})
    else()
      set(tests ${split_MODEL})
    endif()
    list(FILTER tests INCLUDE REGEX "\\.cpp$")
    tvane_unity_groups(${family} ${TVANE_TEST_UNITY_BATCH} ${tests})
    list(APPEND sources ${tests})
  endforeach()
  tvane_test(${target} GROUPED LIBS ${G_LIBS} SOURCES ${sources})
  # A family's fixtures: TVANE_DISPLAY_TESTS "/<family>/data/...".
  target_compile_definitions(${target} PRIVATE
    TVANE_DISPLAY_TESTS="${CMAKE_SOURCE_DIR}/tests/graphics/displays")
  if(G_WINDOWS)
    # The tests reach the pages' controls through their forms.
    get_property(folders GLOBAL PROPERTY TVANE_DISPLAY_FOLDERS)
    set_property(TARGET ${target} APPEND PROPERTY AUTOUIC_SEARCH_PATHS
                 ${CMAKE_SOURCE_DIR}/graphics/pages ${folders})
  endif()
endfunction()


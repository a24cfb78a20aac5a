# A file added to a globbed folder must reach moc. This CMake's automoc step does not notice new
# sources in an existing build tree (its missing ".moc" include or vtable shows at link time), so
# when the source list changes at configure time the step's stamp is removed and it runs again.
function(qel_refresh_moc_on_new_files target sources)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt)
  string(JOIN "\n" content ${sources})
  set(old "")
  if(EXISTS ${list_file})
    file(READ ${list_file} old)
  endif()
  if(NOT old STREQUAL content)
    file(WRITE ${list_file} "${content}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
  endif()
endfunction()

# Every folder under src/ is one library, linked downwards only (QelLibraryTree.cmake checks it). Sources are found by glob so
# that adding a file never means editing a shared list.
function(qel_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  # Subfolders that are libraries of their own.
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${ex}/")
  endforeach()
  add_library(${name} STATIC ${srcs})
  # Headers are included by file name: every folder of the library that holds one is public.
  set(dirs ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(s IN LISTS srcs)
    if(s MATCHES "\\.h$")
      get_filename_component(d ${s} DIRECTORY)
      list(APPEND dirs ${d})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES dirs)
  target_include_directories(${name} PUBLIC ${dirs})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  set_property(GLOBAL APPEND PROPERTY QEL_ALL_LIBRARIES ${name})
  qel_refresh_moc_on_new_files(${name} "${srcs}")
endfunction()

# One test executable per folder under tests/, discovered at test time (a QApplication cannot
# start at build time without a display).
function(qel_add_test name)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${srcs})
  qel_refresh_moc_on_new_files(${name} "${srcs}")
  target_link_libraries(${name} PRIVATE qel_testsupport ${ARG_DEPS} GTest::gtest GTest::gmock)
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  # The discovered tests get their properties as one flat list in which no list value stays
  # whole: the labels go on the folder (each test executable has a folder of its own), and the
  # environment holds one variable (the test main sets the offscreen platform itself).
  set_property(DIRECTORY APPEND PROPERTY LABELS ${ARG_LABELS})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120 ENVIRONMENT "QEL_BUNDLE_DIR=${QEL_BUNDLE_DIR}")
endfunction()

# Fails when a source file includes a header its layer may not reach.
#   cmake -DQV_SOURCE_ROOT=<src> [-DQV_CHECK_FILES=<a;b>] -P check_layering.cmake
# Without QV_CHECK_FILES every file of the core and platform folders is checked;
# with it, each file is checked as if it lay where its path inside
# QV_SOURCE_ROOT says (the build's own test feeds it deliberate mistakes).
#
# Layers: platform (OS stand-ins) <- core (logdata filter views decode viewer
# whois settings) <- capture, cli, gui. The core reaches neither Qt nor the
# layers above it (files named *_qt.cpp are the Qt-backed stand-ins, built
# apart); platform reaches nothing of the project but itself.

cmake_minimum_required(VERSION 3.25)

set(core_folders logdata filter views decode viewer whois settings)
set(upper_folders capture cli gui)

if(NOT QV_CHECK_FILES)
  foreach(folder IN LISTS core_folders ITEMS platform)
    file(GLOB found ${QV_SOURCE_ROOT}/${folder}/*.h ${QV_SOURCE_ROOT}/${folder}/*.cpp)
    list(APPEND QV_CHECK_FILES ${found})
  endforeach()
endif()

set(problems "")
foreach(path IN LISTS QV_CHECK_FILES)
  if(path MATCHES "_qt\\.cpp$")
    continue()
  endif()
  file(RELATIVE_PATH relative ${QV_SOURCE_ROOT} ${path})
  string(REGEX MATCH "^[^/]+" layer "${relative}")
  if(layer STREQUAL "platform")
    set(forbidden ${core_folders} ${upper_folders})
    set(qt_forbidden TRUE)
  elseif(layer IN_LIST core_folders)
    set(forbidden ${upper_folders})
    set(qt_forbidden TRUE)
  else()
    continue()
  endif()
  file(STRINGS ${path} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
    string(REGEX MATCH "^[^/]+" top "${header}")
    if(header MATCHES "/" AND top IN_LIST forbidden)
      string(APPEND problems "  ${relative}: #include \"${header}\" reaches the ${top} layer\n")
    elseif(qt_forbidden AND header MATCHES "^Q[A-Za-z]*(/|$)")
      string(APPEND problems "  ${relative}: #include <${header}> reaches Qt\n")
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Includes across the layering:\n${problems}")
endif()

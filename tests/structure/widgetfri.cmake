# Checks that the core library stays free of widgets in its headers and inline
# code too: no file of pilkrona_core, no header beside one of its sources, and
# no file of src that they include (as far as the includes go) includes
# anything of Qt Widgets or Print Support, or declares one of their classes.
# The link of test_karna_ensam sees only what the core's objects call: inline
# code or a template in a header of the core is compiled only in the ui
# library's files, which find the widgets, and a core file finds
# <QtWidgets/QWidget> through Qt's base folder; so only what the files say
# shows it.
#
# Run as: cmake -DSRC=<src folder> -DINDATA=<file> -P widgetfri.cmake, where
# the file (made by tests/CMakeLists.txt) sets karnfiler (the core's sources,
# absolute or relative to SRC), karnans_qt (the include folders of the Qt
# modules the core links) and fonstrens_qt (those of Qt Widgets and Print
# Support that the core's do not hold).
cmake_minimum_required(VERSION 3.25)

# A check that looks at nothing passes for ever.
foreach(var SRC INDATA)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "widgetfri.cmake: ${var} is not given")
  elseif(NOT IS_ABSOLUTE "${${var}}")
    message(FATAL_ERROR "widgetfri.cmake: ${var} is relative (${${var}}); give an absolute path")
  elseif(NOT EXISTS "${${var}}")
    message(FATAL_ERROR "widgetfri.cmake: ${var} (${${var}}) is not there")
  endif()
endforeach()
include("${INDATA}")
if(NOT karnans_qt OR NOT fonstrens_qt)
  message(FATAL_ERROR "widgetfri.cmake: ${INDATA} names no include folders of Qt")
endif()
foreach(mapp IN LISTS fonstrens_qt)
  file(GLOB rubriker "${mapp}/Q*")
  if(NOT rubriker)
    message(FATAL_ERROR "widgetfri.cmake: no Qt header in ${mapp}")
  endif()
endforeach()

# What the compiler finds for an include written as skriven in the file fil
# (relative to SRC): a file of src (relative path in ${ut}), else empty.
function(hitta_i_src fil form skriven ut)
  set(${ut} "" PARENT_SCOPE)
  get_filename_component(filmapp "${fil}" DIRECTORY)
  set(kandidater "")
  if(form STREQUAL "\"")
    list(APPEND kandidater "${filmapp}/${skriven}")
  endif()
  list(APPEND kandidater "${skriven}")
  foreach(k IN LISTS kandidater)
    cmake_path(NORMAL_PATH k)
    if(NOT k MATCHES "^(\\.\\./|/)" AND EXISTS "${SRC}/${k}" AND NOT IS_DIRECTORY "${SRC}/${k}")
      set(${ut} "${k}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# The module of Qt Widgets or Print Support that an include takes its file
# from (QtWidgets, QtPrintSupport), or empty. <QtWidgets/QWidget> is found
# through the base folder that the core has too; a name that a module of the
# core also holds (<qaction.h> is both Gui's and a forward of Widgets') is the
# core's.
function(fonstermodul skriven ut)
  set(modul "")
  set(karnans FALSE)
  foreach(mapp IN LISTS karnans_qt fonstrens_qt)
    set(k "${mapp}/${skriven}")
    cmake_path(NORMAL_PATH k)
    if(NOT EXISTS "${k}" OR IS_DIRECTORY "${k}")
      continue()
    endif()
    set(i "")
    foreach(f IN LISTS fonstrens_qt)
      cmake_path(IS_PREFIX f "${k}" NORMALIZE under)
      if(under)
        get_filename_component(i "${f}" NAME)
      endif()
    endforeach()
    if(i)
      set(modul "${i}")
    else()
      set(karnans TRUE)
    endif()
  endforeach()
  if(karnans)
    set(modul "")
  endif()
  set(${ut} "${modul}" PARENT_SCOPE)
endfunction()

# The core's own files, and the header beside each of its sources.
set(ko "")
foreach(fil IN LISTS karnfiler)
  if(NOT IS_ABSOLUTE "${fil}")
    set(fil "${SRC}/${fil}")
  endif()
  cmake_path(IS_PREFIX SRC "${fil}" NORMALIZE under)
  if(NOT under OR NOT fil MATCHES "\\.(h|hpp|cpp|c)$")
    continue() # what the build makes, a resource
  endif()
  file(RELATIVE_PATH rel "${SRC}" "${fil}")
  list(APPEND ko "${rel}")
  set(hur_${rel} "a file of the core")
  string(REGEX REPLACE "\\.cpp$" ".h" bredvid "${rel}")
  if(NOT bredvid STREQUAL rel AND EXISTS "${SRC}/${bredvid}" AND NOT DEFINED hur_${bredvid})
    list(APPEND ko "${bredvid}")
    set(hur_${bredvid} "beside ${rel}")
  endif()
endforeach()
list(REMOVE_DUPLICATES ko)
if(NOT ko)
  message(FATAL_ERROR "widgetfri.cmake: no source file of the core under ${SRC} is listed in ${INDATA}")
endif()
foreach(rel IN LISTS ko)
  set(sedd_${rel} TRUE)
endforeach()

set(inkludering "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)[\">]")
set(framat "^[ \t]*(class|struct)[ \t]+(Q[A-Za-z0-9_]+)[ \t]*;")
set(fel "")
set(antal 0)
while(ko)
  list(POP_FRONT ko fil)
  math(EXPR antal "${antal} + 1")
  file(STRINGS "${SRC}/${fil}" rader REGEX "(${inkludering})|(${framat})")
  foreach(rad IN LISTS rader)
    if(NOT rad MATCHES "${inkludering}")
      # A class of the widgets declared ahead, for inline code that finds its
      # definition in whatever the including file has read before.
      string(REGEX MATCH "${framat}" treff "${rad}")
      fonstermodul("${CMAKE_MATCH_2}" modul)
      if(modul)
        string(APPEND fel "\n  ${fil} (${hur_${fil}}) declares ${CMAKE_MATCH_1} ${CMAKE_MATCH_2}: ${modul}")
      endif()
      continue()
    endif()
    set(form "${CMAKE_MATCH_1}")
    set(skriven "${CMAKE_MATCH_2}")
    hitta_i_src("${fil}" "${form}" "${skriven}" egen)
    if(egen)
      if(NOT sedd_${egen})
        set(sedd_${egen} TRUE)
        set(hur_${egen} "included by ${fil}")
        list(APPEND ko "${egen}")
      endif()
      continue()
    endif()
    fonstermodul("${skriven}" modul)
    if(modul)
      if(form STREQUAL "<")
        set(skriven "<${skriven}>")
      else()
        set(skriven "\"${skriven}\"")
      endif()
      string(APPEND fel "\n  ${fil} (${hur_${fil}}) includes ${skriven}: ${modul}")
    endif()
  endforeach()
endwhile()
if(fel)
  message(FATAL_ERROR "The core includes or declares widgets or printing:${fel}")
endif()
message(STATUS "${antal} files of the core include and declare nothing of Qt Widgets or Print Support")

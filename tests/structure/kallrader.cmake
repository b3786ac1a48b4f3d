# How the structure checks (lager.cmake, widgetfri.cmake) read a source file:
# its lines one by one, and in them the includes and the classes declared
# ahead, in every form the compiler takes. An include the checks cannot follow
# is refused, never passed over.

# file(STRINGS) gives the lines as a CMake list, and a list is split at ";"
# only outside brackets and where no "\" stands before it: a "[" in a line's
# comment made that line and every later one a single element, whose later
# includes no check saw. So the file is read whole and its "\", ";", "[" and
# "]" stand as control characters, which no source holds, until a line is
# read; a line continued with a "\" at its end is joined to the next, as the
# compiler joins it, with a mark where it was cut.
string(ASCII 1 kr_bakstreck)
string(ASCII 2 kr_semikolon)
string(ASCII 3 kr_vanster)
string(ASCII 4 kr_hoger)
string(ASCII 5 kr_fortsatt)

# The logical lines of the file fil, as a list in ${ut} that foreach reads
# one line to an element.
function(kallrader fil ut)
  file(READ "${fil}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  # The compiler takes a "\" with only blanks after it as a continuation too.
  string(REGEX REPLACE "\\\\[ \t]*\n" "${kr_fortsatt}" text "${text}")
  string(REPLACE "\\" "${kr_bakstreck}" text "${text}")
  string(REPLACE ";" "${kr_semikolon}" text "${text}")
  string(REPLACE "[" "${kr_vanster}" text "${text}")
  string(REPLACE "]" "${kr_hoger}" text "${text}")
  string(REPLACE "\n" ";" text "${text}")
  set(${ut} "${text}" PARENT_SCOPE)
endfunction()

# A line of kallrader as the file has it, a continuation shown as "\ ", and
# its comments within the line blank as the compiler takes them
# ("#/**/include").
function(kr_text rad ut)
  string(REPLACE "${kr_fortsatt}" "\\ " rad "${rad}")
  string(REPLACE "${kr_bakstreck}" "\\" rad "${rad}")
  string(REPLACE "${kr_semikolon}" ";" rad "${rad}")
  string(REPLACE "${kr_vanster}" "[" rad "${rad}")
  string(REPLACE "${kr_hoger}" "]" rad "${rad}")
  string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" " " rad "${rad}")
  set(${ut} "${rad}" PARENT_SCOPE)
endfunction()

# Whether a line of kallrader is an include: ${form} is " or < and
# ${skriven} the file as written; or ${vagran} says why the checks cannot
# follow it: a macro names its file (#include NAME, which the compiler
# resolves from what was defined before) or it has another form
# (#include_next), or it runs on over a "\"; else all three are empty. "%:" is
# the compiler's other spelling of "#".
function(inkludering rad form skriven vagran)
  set(${form} "" PARENT_SCOPE)
  set(${skriven} "" PARENT_SCOPE)
  set(${vagran} "" PARENT_SCOPE)
  kr_text("${rad}" text)
  if(NOT text MATCHES "^[ \t]*(#|%:)[ \t]*include")
    return()
  endif()
  string(STRIP "${text}" visad)
  if(rad MATCHES "${kr_fortsatt}")
    set(${vagran} "${visad}: an include continued with a backslash; write it on one line" PARENT_SCOPE)
  elseif(text MATCHES "^[ \t]*(#|%:)[ \t]*include[ \t]*([\"<])([^\">]+)[\">]")
    set(${form} "${CMAKE_MATCH_2}" PARENT_SCOPE)
    set(${skriven} "${CMAKE_MATCH_3}" PARENT_SCOPE)
  else()
    set(${vagran} "${visad}: an include by a macro, or in a form whose file the check cannot tell; name the file"
      PARENT_SCOPE)
  endif()
endfunction()

# The classes of Qt a line of kallrader declares ahead, anywhere in it
# ("struct X; class QWidget;", "QT_FORWARD_DECLARE_CLASS(QWidget)"): a list in
# ${ut} of "<how>|<name>", how being "class QWidget" or the macro as written.
function(framatdeklarationer rad ut)
  kr_text("${rad}" text)
  set(funna "")
  string(REGEX MATCHALL "(^|[^A-Za-z0-9_])(class|struct)[ \t]+Q[A-Za-z0-9_]*" treffar "${text}")
  foreach(t IN LISTS treffar)
    string(REGEX MATCH "(class|struct)[ \t]+(Q[A-Za-z0-9_]*)" t "${t}")
    list(APPEND funna "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}|${CMAKE_MATCH_2}")
  endforeach()
  string(REGEX MATCHALL "QT_FORWARD_DECLARE_(CLASS|STRUCT)[ \t]*\\([ \t]*Q[A-Za-z0-9_]*[ \t]*\\)" treffar
    "${text}")
  foreach(t IN LISTS treffar)
    string(REGEX MATCH "\\([ \t]*(Q[A-Za-z0-9_]*)" namn "${t}")
    list(APPEND funna "${t}|${CMAKE_MATCH_1}")
  endforeach()
  set(${ut} "${funna}" PARENT_SCOPE)
endfunction()

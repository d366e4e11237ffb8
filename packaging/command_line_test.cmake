# The program's command line, run as a user would:
#   cmake -DPROGRAM=path/to/ruedecitas -DVERSION=x.y -DMANUAL=ruedecitas.1 -P command_line_test.cmake
# --help and --version answer without a display and say what the manual page says; an unknown
# option ends the program with status 2 and a hint on standard error, before any window opens;
# Qt's own options still reach Qt.
cmake_minimum_required(VERSION 3.21)

function(fail what)
    message(SEND_ERROR "${what}")  # the script goes on, and ends with a non-zero status
endfunction()

# Runs the program with the given arguments; sets status, out and err in the caller.
macro(run)
    execute_process(COMMAND "${PROGRAM}" ${ARGN} RESULT_VARIABLE status
                    OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
endmacro()

# No display at all: the window could not open, the answers still come.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
run(--version)
if(NOT status EQUAL 0 OR NOT out STREQUAL "Ruedecitas ${VERSION}\n")
    fail("--version without a display: status ${status}, printed '${out}${err}'")
endif()
run(--help)
string(REGEX MATCHALL "--[a-z-]+" options "${out}")
if(NOT status EQUAL 0 OR NOT "--help" IN_LIST options OR NOT "--version" IN_LIST options)
    fail("--help without a display: status ${status}, printed '${out}${err}'")
endif()
file(READ "${MANUAL}" manual)
foreach(option IN LISTS options)
    string(REPLACE "-" "\\-" written "${option}")
    string(FIND "${manual}" "${written}" at)
    if(at EQUAL -1)
        fail("--help lists ${option}, the manual page does not")
    endif()
endforeach()

set(ENV{QT_QPA_PLATFORM} offscreen)
run(--bogus)
if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "Opción desconocida «bogus».*--help")
    fail("--bogus: status ${status}, printed '${out}' and on standard error '${err}'")
endif()
# --escala takes a factor from 1 to 4; anything else is refused in Spanish before any window.
foreach(factor 0.5 4.01 dos 1,5,0 nan)
    run(--escala "${factor}")
    if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "escala.*«${factor}».*--help")
        fail("--escala ${factor}: status ${status}, printed '${out}' and on standard error '${err}'")
    endif()
endforeach()
run(--escala)
if(NOT status EQUAL 2 OR NOT err MATCHES "falta el factor.*--help")
    fail("--escala without a factor: status ${status}, printed '${out}${err}'")
endif()
run(-platform offscreen --version)
if(NOT status EQUAL 0 OR NOT out STREQUAL "Ruedecitas ${VERSION}\n")
    fail("-platform offscreen --version: status ${status}, printed '${out}${err}'")
endif()

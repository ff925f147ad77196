# Runs the built program with command lines that must answer without a window:
#   cmake -DPROGRAM=path/to/zenitor -DVERSION=x.y.z -P commandline.cmake
# The test runs without a display, so a run that opened a window would abort instead.
cmake_minimum_required(VERSION 3.25)
# Each case: arguments (comma separated), exit code, what stdout must match, what stderr must match
# (an empty pattern: the stream must be empty).
set(cases
    "--help|0|Usage: .*zenitor.*--version.*--reset|"
    "-h|0|--help-all|"
    "--help-all|0|--platform <name>.*--style <name>|"
    "--version|0|^zenitor ${VERSION}\n$|"
    "-v,--reset|0|^zenitor ${VERSION}\n$|"
    "-platform,offscreen,-style=fusion,--version|0|^zenitor ${VERSION}\n$|"
    "--bogus|2||Unknown option 'bogus'.*--help"
    "--reset,-x|2||Unknown option 'x'"
    "--version=1|2||Unexpected value after '--version'"
    "-platform|2||Missing value after '-platform'"
    "stray|2||Unexpected argument 'stray'")
set(failures 0)
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 arguments)
    list(GET fields 1 expected_code)
    list(GET fields 2 expected_out)
    list(GET fields 3 expected_err)
    string(REPLACE "," ";" arguments "${arguments}")
    execute_process(COMMAND "${PROGRAM}" ${arguments} RESULT_VARIABLE code OUTPUT_VARIABLE out
                    ERROR_VARIABLE err TIMEOUT 20)
    set(problems)
    if(NOT code STREQUAL expected_code)
        list(APPEND problems "exit code ${code}, expected ${expected_code}")
    endif()
    foreach(stream out err)
        if(expected_${stream} STREQUAL "" AND NOT ${stream} STREQUAL "")
            list(APPEND problems "std${stream} not empty")
        elseif(NOT ${stream} MATCHES "${expected_${stream}}")
            list(APPEND problems "std${stream} does not match '${expected_${stream}}'")
        endif()
    endforeach()
    if(problems)
        math(EXPR failures "${failures} + 1")
        message("FAIL zenitor ${arguments}: ${problems}\n--- stdout:\n${out}--- stderr:\n${err}")
    else()
        message("ok   zenitor ${arguments}")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "${failures} command line(s) answered wrongly")
endif()

# Runs one golden session and compares what korzenik-script printed and drew with the expected
# files: the transcript NAME.jsonl byte for byte; when NAME.stderr exists, exit status 2 and
# exactly that standard error, otherwise status 0 and nothing on it; and every picture that a
# `png FILE` line of the script writes into the working folder with the golden FILE beside the
# script, pixel for pixel (pictures outside the working folder are error cases, not compared);
# and every drawing that an `svg NAME.svg` line writes there, rendered at 1:1 by rsvg-convert,
# against the golden picture NAME.png (see svg_compare.cpp for what must match).
#
# Variables: PROGRAM, SCRIPT, EXPECTED_DIR, WORKDIR (this test's own folder, emptied first so
# that nothing stale can pass), COMPARE (the png_compare program), SVG_COMPARE (svg_compare),
# RSVG_CONVERT, EMULATOR (optional: a command that runs PROGRAM and the compare programs, its
# words separated by |), USE_STDIN (optional), TYPED (optional: the session plays with each of
# the five functions typed into the own function's field, the second in the order it is
# evaluated, and its state lines name the function by its label again before they are compared).
get_filename_component(name ${SCRIPT} NAME_WE)
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})

set(labels "x*x-4" "x*x*x+5*x*x-2*x-4" "sin(x)" "3*sin(x*x)+2*cos(x)"
    "2*sin(x*x*x)-cos(x*x)+5*cos(x)")
set(typed_as "x*x-4" "(x+5)*x*x-2*x-4" "sin(x)" "3*sin(x*x)+2*cos(x)"
    "2*sin(x*x*x)-cos(x*x)+5*cos(x)")
if(TYPED)
    file(READ ${SCRIPT} session)
    set(session "\n${session}")
    set(picked "${session}")
    foreach(label expression IN ZIP_LISTS labels typed_as)
        foreach(end "\n" "\r\n")
            string(REPLACE "\nfunction f(x) = ${label}${end}"
                "\nfunction Własna funkcja${end}expression ${expression}${end}" session "${session}")
        endforeach()
    endforeach()
    if(session STREQUAL picked)
        message(FATAL_ERROR "${name} picks none of the five functions to type")
    endif()
    string(SUBSTRING "${session}" 1 -1 session)
    set(SCRIPT ${WORKDIR}/${name}.ksc)
    file(WRITE ${SCRIPT} "${session}")
endif()

# The pictures and drawings this session must write.
foreach(kind png svg)
    file(STRINGS ${SCRIPT} lines REGEX "^${kind} " ENCODING UTF-8)
    set(${kind}_files)
    foreach(line ${lines})
        string(REGEX REPLACE "^${kind} (.*[^\r])\r?$" "\\1" file "${line}")
        if(NOT IS_ABSOLUTE "${file}")
            list(APPEND ${kind}_files "${file}")
        endif()
    endforeach()
endforeach()
set(pictures ${png_files})

# Both streams go through files and are compared as bytes (in hexadecimal): execute_process and
# file(READ) drop the \r of \r\n, and a transcript must be the same bytes on every system.
set(out_file ${WORKDIR}/${name}.out)
set(err_file ${WORKDIR}/${name}.err)
if(USE_STDIN)
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} INPUT_FILE ${SCRIPT} WORKING_DIRECTORY ${WORKDIR}
        OUTPUT_FILE ${out_file} ERROR_FILE ${err_file} RESULT_VARIABLE rc)
else()
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${SCRIPT} WORKING_DIRECTORY ${WORKDIR}
        OUTPUT_FILE ${out_file} ERROR_FILE ${err_file} RESULT_VARIABLE rc)
endif()
if(TYPED)
    file(READ ${out_file} transcript)
    foreach(label expression IN ZIP_LISTS labels typed_as)
        string(REPLACE "\"function\":\"Własna funkcja\",\"expression\":\"${expression}\""
            "\"function\":\"f(x) = ${label}\"" transcript "${transcript}")
    endforeach()
    file(WRITE ${out_file} "${transcript}")
endif()
file(READ ${err_file} err)
file(READ ${out_file} out_bytes HEX)
file(READ ${err_file} err_bytes HEX)
file(REMOVE ${err_file})

file(READ ${EXPECTED_DIR}/${name}.jsonl expected_out_bytes HEX)
set(expected_err "")
set(expected_err_bytes "")
set(expected_rc 0)
if(EXISTS ${EXPECTED_DIR}/${name}.stderr)
    file(READ ${EXPECTED_DIR}/${name}.stderr expected_err)
    file(READ ${EXPECTED_DIR}/${name}.stderr expected_err_bytes HEX)
    set(expected_rc 2)
endif()

set(failed FALSE)
if(NOT rc STREQUAL expected_rc)
    message(SEND_ERROR "exit status ${rc}, expected ${expected_rc}")
    set(failed TRUE)
endif()
if(NOT err_bytes STREQUAL expected_err_bytes)
    message(SEND_ERROR "standard error differs:\n--- got\n${err}--- expected\n${expected_err}")
    set(failed TRUE)
endif()
if(NOT out_bytes STREQUAL expected_out_bytes)
    file(RENAME ${out_file} ${WORKDIR}/${name}.actual.jsonl)
    message(SEND_ERROR "transcript differs from ${name}.jsonl; got ${WORKDIR}/${name}.actual.jsonl\n"
        "compare: diff ${EXPECTED_DIR}/${name}.jsonl ${WORKDIR}/${name}.actual.jsonl")
    set(failed TRUE)
else()
    file(REMOVE ${out_file})
endif()
# The golden picture of each drawing is what the session draws in its place: the session once
# more with its svg lines made png lines. (The drawings are taken apart from the pictures so
# that the sessions played in the windows, which have no drawings to make, leave them out.)
if(svg_files)
    file(STRINGS ${SCRIPT} script_lines ENCODING UTF-8)
    list(TRANSFORM script_lines REPLACE "^svg (.*)\\.svg(\r?)$" "png \\1.png\\2")
    list(JOIN script_lines "\n" as_pictures)
    file(WRITE ${WORKDIR}/${name}.pictures.ksc "${as_pictures}\n")
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${name}.pictures.ksc
        WORKING_DIRECTORY ${WORKDIR} OUTPUT_QUIET RESULT_VARIABLE rc ERROR_VARIABLE why)
    if(NOT rc EQUAL 0)
        message(SEND_ERROR "the session with pictures for drawings fails: ${why}")
        set(failed TRUE)
    endif()
    foreach(drawing ${svg_files})
        string(REGEX REPLACE "\\.svg$" ".png" picture "${drawing}")
        list(APPEND pictures ${picture})
    endforeach()
endif()
foreach(picture ${pictures})
    if(NOT EXISTS ${EXPECTED_DIR}/${picture})
        message(SEND_ERROR "no golden picture ${EXPECTED_DIR}/${picture}; "
            "the session wrote ${WORKDIR}/${picture}")
        set(failed TRUE)
        continue()
    endif()
    execute_process(COMMAND ${EMULATOR} ${COMPARE} ${EXPECTED_DIR}/${picture} ${WORKDIR}/${picture}
        RESULT_VARIABLE same ERROR_VARIABLE why)
    if(NOT same EQUAL 0)
        message(SEND_ERROR "picture ${picture} differs from the golden one: ${why}")
        set(failed TRUE)
    endif()
endforeach()
foreach(drawing ${svg_files})
    string(REGEX REPLACE "\\.svg$" ".png" picture "${drawing}")
    set(rendered ${WORKDIR}/${drawing}.rendered.png)
    execute_process(COMMAND ${RSVG_CONVERT} --output ${rendered} ${WORKDIR}/${drawing}
        RESULT_VARIABLE rendered_ok ERROR_VARIABLE why)
    if(NOT rendered_ok EQUAL 0)
        message(SEND_ERROR "rsvg-convert cannot render ${drawing}: ${why}")
        set(failed TRUE)
        continue()
    endif()
    execute_process(COMMAND ${EMULATOR} ${SVG_COMPARE} ${EXPECTED_DIR}/${picture} ${rendered}
        RESULT_VARIABLE same ERROR_VARIABLE why)
    if(NOT same EQUAL 0)
        message(SEND_ERROR "drawing ${drawing} does not draw the golden ${picture}: ${why}")
        set(failed TRUE)
    endif()
endforeach()
if(failed)
    message(FATAL_ERROR "golden session ${name} failed")
endif()

# Runs one golden script and compares what korzenik-script printed with the expected files.
# Variables: PROGRAM, SCRIPT, EXPECTED_DIR, WORKDIR, USE_STDIN (optional), EMULATOR (optional:
# the command that runs PROGRAM in a cross build).
get_filename_component(name ${SCRIPT} NAME_WE)
if(USE_STDIN)
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} INPUT_FILE ${SCRIPT} WORKING_DIRECTORY ${WORKDIR}
        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
else()
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${SCRIPT} WORKING_DIRECTORY ${WORKDIR}
        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
endif()

file(READ ${EXPECTED_DIR}/${name}.jsonl expected_out)
set(expected_err "")
set(expected_rc 0)
if(EXISTS ${EXPECTED_DIR}/${name}.stderr)
    file(READ ${EXPECTED_DIR}/${name}.stderr expected_err)
    set(expected_rc 2)
endif()

set(failed FALSE)
if(NOT rc STREQUAL expected_rc)
    message(SEND_ERROR "exit status ${rc}, expected ${expected_rc}")
    set(failed TRUE)
endif()
if(NOT err STREQUAL expected_err)
    message(SEND_ERROR "standard error differs:\n--- got\n${err}--- expected\n${expected_err}")
    set(failed TRUE)
endif()
if(NOT out STREQUAL expected_out)
    file(WRITE ${WORKDIR}/${name}.actual.jsonl "${out}")
    message(SEND_ERROR "transcript differs from ${name}.jsonl; got ${WORKDIR}/${name}.actual.jsonl\n"
        "compare: diff ${EXPECTED_DIR}/${name}.jsonl ${WORKDIR}/${name}.actual.jsonl")
    set(failed TRUE)
endif()
if(failed)
    message(FATAL_ERROR "golden script ${name} failed")
endif()

# The golden sessions as CTest tests, for any build of korzenik-script: every NAME.ksc in this
# folder runs as the test <prefix>NAME (see run_golden.cmake for what is compared), and
# seven_steps_auto once more from standard input. Each test works in a folder of its own, named
# after it, so that tests run in parallel never share a file.
#
#   korzenik_golden_tests(PREFIX <prefix> PROGRAM <path> COMPARE <path> SVG_COMPARE <path>
#                         [EMULATOR <command>...])
#
# EMULATOR runs the programs when they are built for another system (Wine, node); the SVG
# pictures are rendered by this machine's rsvg-convert.
#
# Every session that picks only the five functions plays once more as typed.NAME, each function
# typed by hand into the own function's field (see run_golden.cmake), against the same files.
#
# `make golden` writes the expected files anew (see the README's Tests section).
set(KORZENIK_GOLDEN_DIR ${CMAKE_CURRENT_LIST_DIR})
find_program(RSVG_CONVERT rsvg-convert NO_CMAKE_FIND_ROOT_PATH REQUIRED)

function(korzenik_golden_tests)
    cmake_parse_arguments(arg "" "PREFIX;PROGRAM;COMPARE;SVG_COMPARE" "EMULATOR" ${ARGN})
    set(workdir ${CMAKE_CURRENT_BINARY_DIR}/golden)
    string(REPLACE ";" "|" emulator "${arg_EMULATOR}")
    set(common
        -DPROGRAM=${arg_PROGRAM} -DCOMPARE=${arg_COMPARE} -DSVG_COMPARE=${arg_SVG_COMPARE}
        -DRSVG_CONVERT=${RSVG_CONVERT} "-DEMULATOR=${emulator}"
        -DEXPECTED_DIR=${KORZENIK_GOLDEN_DIR})
    file(GLOB scripts CONFIGURE_DEPENDS ${KORZENIK_GOLDEN_DIR}/*.ksc)
    foreach(script ${scripts})
        get_filename_component(name ${script} NAME_WE)
        add_test(NAME ${arg_PREFIX}${name}
            COMMAND ${CMAKE_COMMAND} ${common} -DSCRIPT=${script} -DWORKDIR=${workdir}/${name}
                -P ${KORZENIK_GOLDEN_DIR}/run_golden.cmake)
        # Typed again only where every function picked is one of the five, so the session's
        # files are what the typed functions must give.
        file(STRINGS ${script} picks REGEX "^function" ENCODING UTF-8)
        set(typed ${picks})
        list(FILTER typed INCLUDE REGEX "^function f\\(x\\) = [-+*()a-z0-9]+$")
        if(picks AND picks STREQUAL typed AND NOT EXISTS ${KORZENIK_GOLDEN_DIR}/${name}.stderr)
            add_test(NAME ${arg_PREFIX}typed.${name}
                COMMAND ${CMAKE_COMMAND} ${common} -DSCRIPT=${script} -DTYPED=ON
                    -DWORKDIR=${workdir}/typed.${name} -P ${KORZENIK_GOLDEN_DIR}/run_golden.cmake)
        endif()
    endforeach()
    add_test(NAME ${arg_PREFIX}stdin_seven_steps_auto
        COMMAND ${CMAKE_COMMAND} ${common} -DSCRIPT=${KORZENIK_GOLDEN_DIR}/seven_steps_auto.ksc
            -DWORKDIR=${workdir}/stdin_seven_steps_auto -DUSE_STDIN=ON
            -P ${KORZENIK_GOLDEN_DIR}/run_golden.cmake)
endfunction()

# Builds the help collection and fails on any warning of qhelpgenerator (a page missing from
# the project file, a broken reference), so that the manual ships whole.
# In: QHELPGENERATOR, SOURCE (data/help), WORK (a scratch folder), QCH, QHC, PICTURES (the
# tool that draws the manual's pictures).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(REMOVE "${QCH}" "${QHC}")
file(COPY "${SOURCE}/" DESTINATION "${WORK}/pages")

# The pictures, in Russian like the pages; a sanitizer build's tool keeps quiet about leaks.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env HARMIK_LANGUAGE=ru QT_QPA_PLATFORM=offscreen
                        ASAN_OPTIONS=detect_leaks=0 "${PICTURES}" "${WORK}/pages"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PICTURES}:\n${out}${err}")
endif()

function(run_generator)
    execute_process(COMMAND "${QHELPGENERATOR}" ${ARGN}
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(all "${out}${err}")
    if(NOT result EQUAL 0 OR all MATCHES "[Ww]arning|[Ee]rror")
        file(REMOVE "${QCH}" "${QHC}")
        message(FATAL_ERROR "qhelpgenerator ${ARGN}:\n${all}")
    endif()
endfunction()

run_generator("${WORK}/pages/harmik.qhp" -o "${QCH}")
file(WRITE "${WORK}/harmik.qhcp"
"<?xml version=\"1.0\" encoding=\"utf-8\" ?>
<QHelpCollectionProject version=\"1.0\">
    <docFiles>
        <register>
            <file>${QCH}</file>
        </register>
    </docFiles>
</QHelpCollectionProject>
")
run_generator("${WORK}/harmik.qhcp" -o "${QHC}")

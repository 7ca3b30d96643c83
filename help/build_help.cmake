# Builds the help collection and fails on any warning of qhelpgenerator (a page missing from
# the project file, a broken reference), so that the manual ships whole.
# In: QHELPGENERATOR, SOURCE (data/help), WORK (a scratch folder), QCH, QHC.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(REMOVE "${QCH}" "${QHC}")

function(run_generator)
    execute_process(COMMAND "${QHELPGENERATOR}" ${ARGN}
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(all "${out}${err}")
    if(NOT result EQUAL 0 OR all MATCHES "[Ww]arning|[Ee]rror")
        file(REMOVE "${QCH}" "${QHC}")
        message(FATAL_ERROR "qhelpgenerator ${ARGN}:\n${all}")
    endif()
endfunction()

run_generator("${SOURCE}/harmik.qhp" -o "${QCH}")
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

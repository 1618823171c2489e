# SPDX-License-Identifier: GPL-3.0-or-later
# The descriptors that generer.py writes through "ionaria --exercice" must be
# byte for byte those shipped, which its earlier version wrote record by
# record itself.
#   cmake -DPYTHON=python3 -DIONARIA=build/ionaria -DSOURCE=. -DWORK=dir -P GenererTest.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(
    COMMAND "${PYTHON}" "${SOURCE}/data/exercices/sources/generer.py" --ionaria "${IONARIA}"
            --dossier "${WORK}" --descripteurs-seulement
    RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "generer.py failed: ${status}")
endif()
file(GLOB written RELATIVE "${WORK}" "${WORK}/*")
file(GLOB shipped RELATIVE "${SOURCE}/data/exercices" "${SOURCE}/data/exercices/*.E37"
     "${SOURCE}/data/exercices/KIVAR.PEM")
list(SORT written)
list(SORT shipped)
if(NOT written STREQUAL shipped)
    message(FATAL_ERROR "written: ${written}\nshipped: ${shipped}")
endif()
list(LENGTH written count)
if(count LESS 8)
    message(FATAL_ERROR "only ${count} descriptors written")
endif()
foreach(name IN LISTS written)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/${name}"
                            "${SOURCE}/data/exercices/${name}" RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        message(FATAL_ERROR "${name} differs from the shipped descriptor")
    endif()
endforeach()
message(STATUS "${count} descriptors identical to those shipped")

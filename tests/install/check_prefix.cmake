# cmake --install into a scratch prefix; the installed programs must work from there alone.
include(${CMAKE_CURRENT_LIST_DIR}/InstallChecks.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
krvdiag_run(log ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR})

krvdiag_check_tree(${WORK_DIR})
krvdiag_check_man_pages(${WORK_DIR})
krvdiag_check_desktop_entry(${WORK_DIR})
krvdiag_check_data_found(${WORK_DIR})

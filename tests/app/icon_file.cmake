# The committed icon is what the drawing gives today: run scripts/make-icon.sh after
# changing the picture.
execute_process(COMMAND ${TOOL} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "paginor-icon failed: ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${ICON} ${OUT} RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${ICON} differs from the drawing: run scripts/make-icon.sh")
endif()

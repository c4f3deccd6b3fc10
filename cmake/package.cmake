# `cmake --build --preset win32 --target package` (or win64) makes
# paginor-VERSION-win32.zip: the program, its hook libraries, the floating box, the
# console tool (for its diagnostic report), a starter
# definition file, the user guides as web pages and the licence, in one folder of that name.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PAGINOR_PACKAGE_ARCH win32)
else()
  set(PAGINOR_PACKAGE_ARCH win64)
endif()
set(PAGINOR_PACKAGE_NAME paginor-${PROJECT_VERSION}-${PAGINOR_PACKAGE_ARCH})
set(PAGINOR_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${PAGINOR_PACKAGE_NAME}.zip)
set(package_root ${CMAKE_BINARY_DIR}/package)
set(stage ${package_root}/${PAGINOR_PACKAGE_NAME})
set(guide_script ${PROJECT_SOURCE_DIR}/cmake/guide_html.py)

add_custom_command(
  OUTPUT ${PAGINOR_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:paginor> $<TARGET_FILE:hkboard_library>
          $<TARGET_FILE:hkpoint_library> $<TARGET_FILE:hoverpad> $<TARGET_FILE:paginor-cli-win>
          ${PROJECT_SOURCE_DIR}/app/win32/last.pgt ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt
  COMMAND ${Python3_EXECUTABLE} ${guide_script} ${PROJECT_SOURCE_DIR}/docs/guide.zh.md ${stage}/guide.html
  COMMAND ${Python3_EXECUTABLE} ${guide_script} ${PROJECT_SOURCE_DIR}/docs/guide.en.md ${stage}/guide-en.html
  COMMAND ${CMAKE_COMMAND} -E rm -f ${PAGINOR_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_root}
          ${CMAKE_COMMAND} -E tar cf ${PAGINOR_PACKAGE_ZIP} --format=zip ${PAGINOR_PACKAGE_NAME}
  DEPENDS paginor hkboard_library hkpoint_library hoverpad paginor-cli-win ${PROJECT_SOURCE_DIR}/app/win32/last.pgt
          ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/docs/guide.zh.md
          ${PROJECT_SOURCE_DIR}/docs/guide.en.md ${guide_script}
  COMMENT "Packing ${PAGINOR_PACKAGE_NAME}.zip"
  VERBATIM)
# Built with every build, so that the package test always finds the current one.
add_custom_target(package ALL DEPENDS ${PAGINOR_PACKAGE_ZIP})

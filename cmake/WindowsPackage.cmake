# The Windows download: `cmake --build build-win64 --target win64_zip` packs
# rilo_mj-<version>-win64.zip beside the program, with the program, the README
# and the licence at the top of the archive. CMake writes the archive itself,
# so no zip tool is needed.
if(NOT TARGET rilo_mj)
    return()
endif()

set(RILO_WIN64_ZIP "${PROJECT_BINARY_DIR}/rilo_mj-${PROJECT_VERSION}-win64.zip")
set(staging "${PROJECT_BINARY_DIR}/win64-zip")
add_custom_command(
    OUTPUT "${RILO_WIN64_ZIP}"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${staging}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${staging}"
    COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:rilo_mj>"
            "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE" "${staging}"
    COMMAND ${CMAKE_COMMAND} -E rm -f "${RILO_WIN64_ZIP}"
    COMMAND ${CMAKE_COMMAND} -E chdir "${staging}"
            ${CMAKE_COMMAND} -E tar cf "${RILO_WIN64_ZIP}" --format=zip
            "$<TARGET_FILE_NAME:rilo_mj>" README.md LICENSE
    DEPENDS rilo_mj "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
    COMMENT "Packing rilo_mj-${PROJECT_VERSION}-win64.zip"
    VERBATIM)
add_custom_target(win64_zip DEPENDS "${RILO_WIN64_ZIP}")

# The release package for game operators, made by cpack from the product
# (i686) build: varnelTemplate-<version>-win32.zip holding the launcher
# template, the stamp tool, the skin viewer, the shipped skin folder and
# configuration as a worked example, and the operators' README.
install(PROGRAMS $<TARGET_FILE:varnelTemplate> $<TARGET_FILE:varnelStamp> $<TARGET_FILE:varnelSkinView>
        DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/resources/package/README.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/resources/config.xml DESTINATION example)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/skin/ DESTINATION example/skin)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME varnelTemplate)
set(CPACK_PACKAGE_VENDOR varnelTemplate)
set(CPACK_PACKAGE_FILE_NAME varnelTemplate-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

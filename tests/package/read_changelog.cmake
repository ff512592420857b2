# Prints the release date that cmake/changelog.cmake reads from CHANGELOG for
# PACKAGE at VERSION (or stops with its message).
#   cmake -DCHANGELOG=FILE -DPACKAGE=NAME -DVERSION=V -P read_changelog.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/changelog.cmake)
fuga_changelog_release(${CHANGELOG} ${PACKAGE} ${VERSION} date)
message("release ${VERSION} of ${date}")

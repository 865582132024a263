# The `docs` target: HTML reference pages of the public headers, with the
# README as the main page, in <build>/docs/html. Defined only where Doxygen and
# Python 3 are installed, and built only on request (not part of `all`).
#
# Every public class, member, function and file must carry a documentation
# comment: an undocumented one, or any other Doxygen warning, fails the build.
# So does a page that does not show what its source says, which Doxygen does
# not warn about: a printf-style conversion that lost its '%', or Markdown
# shown as literal text (MorvaneDocs.py check, after Doxygen).
find_package(Doxygen QUIET)
find_package(Python3 QUIET COMPONENTS Interpreter)
if(NOT DOXYGEN_FOUND OR NOT Python3_Interpreter_FOUND)
  return()
endif()
set(_morvane_docs_tool ${CMAKE_CURRENT_LIST_DIR}/MorvaneDocs.py)

set(DOXYGEN_PROJECT_NAME morvane)
set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
set(DOXYGEN_PROJECT_BRIEF "${PROJECT_DESCRIPTION}")
set(DOXYGEN_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/docs)
set(DOXYGEN_USE_MDFILE_AS_MAINPAGE ${PROJECT_SOURCE_DIR}/README.md)
set(DOXYGEN_STRIP_FROM_PATH ${PROJECT_SOURCE_DIR}/include)
set(DOXYGEN_STRIP_FROM_INC_PATH ${PROJECT_SOURCE_DIR}/include)
# Only what carries a comment is documented, and whatever is public must.
set(DOXYGEN_EXTRACT_ALL NO)
set(DOXYGEN_EXTRACT_PRIVATE NO)
set(DOXYGEN_EXTRACT_STATIC YES)
set(DOXYGEN_WARNINGS YES)
set(DOXYGEN_WARN_IF_UNDOCUMENTED YES)
set(DOXYGEN_WARN_IF_DOC_ERROR YES)
set(DOXYGEN_WARN_NO_PARAMDOC NO)
set(DOXYGEN_WARN_AS_ERROR FAIL_ON_WARNINGS)
set(DOXYGEN_QUIET YES)
# The comments are written as plain sentences: the first one is the brief.
set(DOXYGEN_JAVADOC_AUTOBRIEF YES)
set(DOXYGEN_MARKDOWN_SUPPORT YES)
# Doxygen drops a '%' before a word even in a code span, and the README must
# read right on GitHub as well: the filter doubles such a '%' for Doxygen.
# (Doxygen's list takes no quotes inside an item: paths without spaces.)
set(DOXYGEN_FILTER_PATTERNS
    "*.md=${Python3_EXECUTABLE} ${_morvane_docs_tool} filter")
# The headers are read as the compiler reads them for a user of the DLL.
set(DOXYGEN_ENABLE_PREPROCESSING YES)
set(DOXYGEN_MACRO_EXPANSION YES)
set(DOXYGEN_EXPAND_ONLY_PREDEF YES)
# MORVANE_DOXYGEN: both forms of Format, C++17's and C++20's, are documented.
set(DOXYGEN_PREDEFINED "MORVANE_API=" "MORVANE_PRINTF_LIKE(a,b)=" "MORVANE_DOXYGEN")
set(_morvane_docs_sources ${PROJECT_SOURCE_DIR}/README.md
    ${PROJECT_SOURCE_DIR}/include/morvane)
doxygen_add_docs(docs ${_morvane_docs_sources}
  COMMENT "Building the HTML reference in ${PROJECT_BINARY_DIR}/docs/html"
)
add_custom_command(TARGET docs POST_BUILD
  COMMAND Python3::Interpreter ${_morvane_docs_tool} check
          ${PROJECT_BINARY_DIR}/docs/html ${_morvane_docs_sources}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Checking that the HTML pages show what their sources say"
  VERBATIM
)

# cmake -DIN=TEMPLATE -DOUT=FILE -DPROJECT_VERSION=... -DPELMIRO_RELEASE_DATE=... -P fill_in.cmake
# Fills a template's @PROJECT_VERSION@ and @PELMIRO_RELEASE_DATE@ while building, for what
# is made from one only then, such as the translated manual pages. A missing template is
# one po4a refused to write.
if(NOT EXISTS ${IN})
  message(FATAL_ERROR "${IN} was not written: po4a translates only a page it can translate whole")
endif()
configure_file(${IN} ${OUT} @ONLY)

# Reads packaging/release_facts.sh, the release's facts that the shell
# scripts source too, into CMake variables STIVRA_<NAME>, each a CMake list
# of the value's words.
set(STIVRA_RELEASE_FACTS ${CMAKE_CURRENT_LIST_DIR}/../packaging/release_facts.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${STIVRA_RELEASE_FACTS})
file(STRINGS ${STIVRA_RELEASE_FACTS} stivra_fact_lines REGEX "^[A-Z_]+=")
foreach(line IN LISTS stivra_fact_lines)
  if(NOT line MATCHES "^([A-Z_]+)=\"([^\"$`\\]*)\"$")
    message(FATAL_ERROR "${STIVRA_RELEASE_FACTS}: not NAME=\"VALUE\": ${line}")
  endif()
  set(name ${CMAKE_MATCH_1})
  string(STRIP "${CMAKE_MATCH_2}" value)
  string(REGEX REPLACE "[ \t]+" ";" value "${value}")
  set(STIVRA_${name} "${value}")
endforeach()

# The page's own files (WEB_PAGE_FILES, patterns allowed) as full paths in
# web/, the worker's template left out, sorted.
function(stivra_web_page_files out)
  set(files "")
  foreach(pattern IN LISTS STIVRA_WEB_PAGE_FILES)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/${pattern})
    if(NOT found)
      message(FATAL_ERROR "release facts: no file in web/ is ${pattern}")
    endif()
    list(APPEND files ${found})
  endforeach()
  list(REMOVE_ITEM files ${CMAKE_SOURCE_DIR}/web/${STIVRA_WEB_WORKER})
  list(REMOVE_DUPLICATES files)
  list(SORT files)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

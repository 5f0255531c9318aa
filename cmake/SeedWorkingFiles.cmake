cmake_minimum_required(VERSION 3.25)
# Copies each shipped file of DATA_DIR into TARGET_DIR unless a file of the same name, in
# any letter case, is already there: the user's settings and lists are never overwritten.
# The help documents are the program's own and are refreshed.
file(GLOB shipped RELATIVE ${DATA_DIR} ${DATA_DIR}/*)
file(GLOB present RELATIVE ${TARGET_DIR} ${TARGET_DIR}/*)
set(present_upper "")
foreach(name IN LISTS present)
  string(TOUPPER "${name}" upper)
  list(APPEND present_upper "${upper}")
endforeach()
foreach(name IN LISTS shipped)
  string(TOUPPER "${name}" upper)
  if(name MATCHES "\\.html$")
    file(COPY_FILE ${DATA_DIR}/${name} ${TARGET_DIR}/${name} ONLY_IF_DIFFERENT)
  elseif(NOT upper IN_LIST present_upper)
    file(COPY ${DATA_DIR}/${name} DESTINATION ${TARGET_DIR})
  endif()
endforeach()

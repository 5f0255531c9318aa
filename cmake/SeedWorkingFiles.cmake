cmake_minimum_required(VERSION 3.25)
# Seeds TARGET_DIR from DATA_DIR, which ships the five language sets (Devical.CC,
# Devical.iCC, Rates.CC, Taxes.CC, Memory.CC) and the help documents. Each set file is
# copied unless a file of the same name, in any letter case, is already there, and the
# working files are made from the French set where they are missing: the user's settings,
# lists and stored sets are never overwritten. The help documents are the program's own
# and are refreshed.
file(GLOB shipped RELATIVE ${DATA_DIR} ${DATA_DIR}/*)
file(GLOB present RELATIVE ${TARGET_DIR} ${TARGET_DIR}/*)
set(present_upper "")
foreach(name IN LISTS present)
  string(TOUPPER "${name}" upper)
  list(APPEND present_upper "${upper}")
endforeach()

function(seed source target)
  string(TOUPPER "${target}" upper)
  if(NOT upper IN_LIST present_upper)
    file(COPY_FILE ${DATA_DIR}/${source} ${TARGET_DIR}/${target})
  endif()
endfunction()

foreach(name IN LISTS shipped)
  if(name MATCHES "\\.html$")
    file(COPY_FILE ${DATA_DIR}/${name} ${TARGET_DIR}/${name} ONLY_IF_DIFFERENT)
  else()
    seed(${name} ${name})
  endif()
endforeach()

seed(Devical.FR DEVICAL.LAN)
seed(Devical.iFR DEVICAL.INI)
seed(Rates.FR Rates.txt)
seed(Taxes.FR Taxes.txt)
seed(Memory.FR Memory.txt)

# Fails when a C++ file of the project differs from what clang-format makes
# of it with the project's .clang-format.
#
#   cmake -DROOT=<source dir> -DCLANG_FORMAT=<program> -P CheckFormat.cmake
#
# Without the program (CLANG_FORMAT empty or NOTFOUND) it says so and passes;
# CTest reports the test as skipped.

cmake_minimum_required(VERSION 3.20)
if(NOT CLANG_FORMAT)
  message("structure.format skipped: clang-format-14 not found (scripts/setup.sh installs it)")
  return()
endif()
# Every top-level folder's C++ files, so that a new folder is checked without
# a list to keep up.
include(${CMAKE_CURRENT_LIST_DIR}/TopLevelFolders.cmake)
lumisk_top_level_folders(${ROOT} top_folders)
set(sources "")
foreach(folder ${top_folders})
  file(GLOB_RECURSE found ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  list(APPEND sources ${found})
endforeach()
list(SORT sources)

# One run over every file; it names each file and line that would change.
execute_process(COMMAND ${CLANG_FORMAT} --style=file --dry-run --Werror ${sources}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE report)
if(NOT result EQUAL 0)
  string(REGEX MATCHALL "[^\n]*: error: code should be clang-formatted" lines "${report}")
  set(unformatted "")
  foreach(line ${lines})
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error:.*$" "" file "${line}")
    file(RELATIVE_PATH shown ${ROOT} ${file})
    list(APPEND unformatted ${shown})
  endforeach()
  if(NOT unformatted)
    message(FATAL_ERROR "${CLANG_FORMAT} failed (${result}):\n${report}")
  endif()
  list(REMOVE_DUPLICATES unformatted)
  list(JOIN unformatted "\n  " text)
  message(FATAL_ERROR "Not formatted (run clang-format-14 -i on them):\n  ${text}")
endif()

# The top-level folders of the source tree, hidden folders and build trees
# (build*, or any folder holding a CMakeCache.txt) aside: where the structure
# checks look for the project's sources.
function(lumisk_top_level_folders root out)
  file(GLOB entries RELATIVE ${root} LIST_DIRECTORIES true ${root}/*)
  set(folders "")
  foreach(entry ${entries})
    if(IS_DIRECTORY ${root}/${entry} AND NOT entry MATCHES "^(\\.|build)" AND NOT EXISTS ${root}/${entry}/CMakeCache.txt)
      list(APPEND folders ${entry})
    endif()
  endforeach()
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

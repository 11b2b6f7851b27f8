# Renders one parameter set with the Linux build's lumisk-render and with
# lumisk-render.exe under Wine, and fails unless both PNG files are the same
# byte for byte: the same module code, GLSL and llvmpipe behind both, and the
# same libpng and zlib writing the result.
#
#   cmake -DLINUX_TOOL=... -DWINDOWS_TOOL=... -DWINE=... -DWORK_DIR=... -DNAME=...
#         "-DARGS=--blur 40 ..." -P CompareRenders.cmake
foreach(variable LINUX_TOOL WINDOWS_TOOL WINE WORK_DIR NAME)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} not given")
  endif()
endforeach()
if(NOT EXISTS "${LINUX_TOOL}")
  message(FATAL_ERROR "no Linux render tool at ${LINUX_TOOL}: build the Linux tree first")
endif()

separate_arguments(arguments UNIX_COMMAND "${ARGS}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(linux_output "${WORK_DIR}/${NAME}-linux.png")
set(windows_output "${WORK_DIR}/${NAME}-windows.png")
file(REMOVE "${linux_output}" "${windows_output}")

function(render label output)
  execute_process(COMMAND ${ARGN} ${arguments} -o ${output}
                  WORKING_DIRECTORY "${WORK_DIR}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR NOT EXISTS "${output}")
    message(FATAL_ERROR "${label} render failed (${result}):\n${out}\n${err}")
  endif()
endfunction()

render(Linux "${linux_output}" "${LINUX_TOOL}")
render(Windows "${windows_output}" "${WINE}" "${WINDOWS_TOOL}")

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${linux_output}" "${windows_output}"
                RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "${NAME}: ${windows_output} differs from ${linux_output}")
endif()

# Fails when a source file includes a project header from a folder above its
# own layer. Folders depend one way: the platform and host API layers at the
# bottom, then the GL runtime, the renderer and the effect shell; the test
# host, the tools, the benchmark and the tests sit on top and are never
# included by the module.
#
#   cmake -DROOT=<source dir> -P IncludeDirections.cmake

cmake_minimum_required(VERSION 3.20)
# Each folder and the project folders its files may include.
set(allowed_hostapi hostapi)
set(allowed_platform platform)
set(allowed_gl gl hostapi platform)
set(allowed_render render gl)
set(allowed_effect effect render gl hostapi platform)
set(allowed_resources resources)
set(allowed_testhost testhost hostapi platform)
set(allowed_tools tools testhost hostapi platform)
set(allowed_bench bench tools testhost render gl hostapi platform)
set(project_folders hostapi platform gl render effect resources testhost tools bench tests)

set(violations "")
foreach(folder hostapi platform gl render effect resources testhost tools bench)
  file(GLOB_RECURSE sources ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.rc)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" header "${line}")
      file(RELATIVE_PATH shown ${ROOT} ${source})
      if(header MATCHES "\\.\\./")
        list(APPEND violations "${shown}: relative include ${header}")
        continue()
      endif()
      string(REGEX MATCH "^[a-z_]+/" top "${header}")
      string(REPLACE "/" "" top "${top}")
      if(top STREQUAL "" OR NOT top IN_LIST project_folders)
        continue()
      endif()
      if(NOT top IN_LIST allowed_${folder})
        list(APPEND violations "${shown}: ${folder}/ includes ${header}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes that climb up:\n  ${text}")
endif()

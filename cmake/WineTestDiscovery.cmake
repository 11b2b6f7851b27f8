# Under Wine a test program takes a second or more to start, several when many
# start at once: give every test list more than GoogleTest's 5 s default.
# A DISCOVERY_TIMEOUT given by the caller comes later and wins.
function(gtest_discover_tests target)
  _gtest_discover_tests(${target} DISCOVERY_TIMEOUT 120 ${ARGN})
endfunction()

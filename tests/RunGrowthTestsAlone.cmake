# Read by CTest after the tests of one test program are added (CMakeLists.txt lists it after
# each program's discovered tests, whose names are in KELVANE_DISCOVERED_TESTS).
#
# A growth test compares the processor time of work at two sizes (tests/support/Growth.h).
# Tests running beside it share the processor's caches and slow its larger size more than its
# smaller one, so it runs alone. Growth tests are the tests of the suites whose names end in
# "Growth".
foreach(test IN LISTS KELVANE_DISCOVERED_TESTS)
  if(test MATCHES "^[A-Za-z0-9_]+Growth\\.")
    set_tests_properties("${test}" PROPERTIES RUN_SERIAL TRUE)
  endif()
endforeach()

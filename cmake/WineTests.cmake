# The Wine tests, once per architecture: each architecture has its own prefix, display and
# fixture, and its tests carry its name as a label, so `ctest -L x64` picks one.
#   wow64  the 32-bit programs (WINDOWS_BUILD_DIR) in a 64-bit prefix, as on 64-bit Windows
#   win32  the 32-bit programs in a 32-bit prefix, as on 32-bit Windows
#   x64    the 64-bit build (WINDOWS_X64_BUILD_DIR) in a 64-bit prefix
# An architecture this machine cannot run is found out by its set-up, and its tests report
# ctest's skip (exit code 77) with the reason.
set(WINE_ARCHS wow64 win32 x64)
set(WINE_HARNESS ${CMAKE_SOURCE_DIR}/tests/wine)

function(wine_arch_env arch out)
  if(arch STREQUAL x64)
    set(build ${WINDOWS_X64_BUILD_DIR})
  else()
    set(build ${WINDOWS_BUILD_DIR})
  endif()
  set(${out} WINE_TEST_ROOT=${CMAKE_BINARY_DIR}/wine/${arch} WINDOWS_BUILD_DIR=${build}
      KELVARO_ARCH=${arch} PARENT_SCOPE)
endfunction()

foreach(arch ${WINE_ARCHS})
  wine_arch_env(${arch} env)
  add_test(NAME wine_setup_${arch} COMMAND ${WINE_HARNESS}/setup.sh)
  add_test(NAME wine_cleanup_${arch} COMMAND ${WINE_HARNESS}/cleanup.sh)
  set_tests_properties(wine_setup_${arch} PROPERTIES FIXTURES_SETUP wine_${arch}
                       LABELS "wine;e2e;${arch}" ENVIRONMENT "${env}" RESOURCE_LOCK wine
                       TIMEOUT 240 SKIP_RETURN_CODE 77)
  set_tests_properties(wine_cleanup_${arch} PROPERTIES FIXTURES_CLEANUP wine_${arch}
                       LABELS "wine;e2e;${arch}" ENVIRONMENT "${env}" RESOURCE_LOCK wine)
endforeach()

# add_wine_test(NAME SCRIPT [LABEL label] [TIMEOUT seconds]): SCRIPT run against the prefix of
# each architecture, as NAME_<arch>, labelled LABEL (default wine) and the architecture.
function(add_wine_test name script)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL wine)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  foreach(arch ${WINE_ARCHS})
    wine_arch_env(${arch} env)
    add_test(NAME ${name}_${arch} COMMAND ${script})
    set_tests_properties(${name}_${arch} PROPERTIES FIXTURES_REQUIRED wine_${arch}
                         LABELS "${ARG_LABEL};${arch}" ENVIRONMENT "${env}" RESOURCE_LOCK wine
                         TIMEOUT ${ARG_TIMEOUT} SKIP_RETURN_CODE 77)
  endforeach()
endfunction()

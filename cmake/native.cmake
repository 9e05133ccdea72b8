# Native (Linux) build: the portable core, its tests, benchmarks and fuzz targets.
if(BREVANE_BUILD_TESTS)
  file(GLOB BREVANE_NATIVE_TESTS CONFIGURE_DEPENDS tests/*/*_test.cpp)
  # The end-to-end driver drives the Windows program: it belongs to the Windows build only.
  list(FILTER BREVANE_NATIVE_TESTS EXCLUDE REGEX "/tests/e2e/")
  add_executable(brevane_tests ${BREVANE_NATIVE_TESTS})
  target_link_libraries(brevane_tests PRIVATE brevane_testsupport GTest::gmock GTest::gtest_main)
  if(BREVANE_UNITY_BUILD)
    set_target_properties(brevane_tests PROPERTIES UNITY_BUILD ON)
  endif()
  include(GoogleTest)
  gtest_discover_tests(brevane_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  # No include may go from an area of src/ to one above it (util < framework < wmi < dialogs
  # < app).
  add_test(NAME layers COMMAND ${CMAKE_SOURCE_DIR}/tools/check-layers.sh ${CMAKE_SOURCE_DIR})
  # Every C++ file as clang-format writes it.
  add_test(NAME format COMMAND ${CMAKE_SOURCE_DIR}/tools/check-format.sh ${CMAKE_SOURCE_DIR})
  # The Windows 7 import check itself, on a saved objdump listing.
  add_test(NAME check_imports COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports-test.sh)
endif()

if(BREVANE_BUILD_BENCH)
  file(GLOB BREVANE_BENCHES CONFIGURE_DEPENDS bench/*.cpp)
  foreach(src ${BREVANE_BENCHES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(bench_${name} ${src})
    target_link_libraries(bench_${name} PRIVATE brevane_testsupport)
    target_include_directories(bench_${name} PRIVATE bench)
  endforeach()
endif()

if(BREVANE_FUZZ)
  # The code under test needs the coverage hooks and the sanitizers too, or the fuzzer would
  # run blind over it; undefined behaviour must stop the run so that libFuzzer reports it.
  set(BREVANE_FUZZ_SANITIZERS address,undefined)
  set(BREVANE_FUZZ_FLAGS -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  foreach(lib brevane_core brevane_testsupport)
    target_compile_options(${lib} PRIVATE
      -fsanitize=fuzzer-no-link,${BREVANE_FUZZ_SANITIZERS} ${BREVANE_FUZZ_FLAGS})
  endforeach()
  file(GLOB BREVANE_FUZZERS CONFIGURE_DEPENDS fuzz/*_fuzz.cpp)
  foreach(src ${BREVANE_FUZZERS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_include_directories(${name} PRIVATE fuzz)
    target_compile_options(${name} PRIVATE
      -fsanitize=fuzzer,${BREVANE_FUZZ_SANITIZERS} ${BREVANE_FUZZ_FLAGS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,${BREVANE_FUZZ_SANITIZERS})
    target_link_libraries(${name} PRIVATE brevane_testsupport)
  endforeach()
endif()

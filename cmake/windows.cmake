# Windows build (mingw-w64 here, MSVC on Windows): the Win32 layer, the program and its tests.
set(BREVANE_WIN32_LIBS ole32 oleaut32 uuid wbemuuid comctl32 comdlg32 shell32 user32 gdi32
    advapi32)

file(GLOB BREVANE_WIN32_SOURCES CONFIGURE_DEPENDS
  src/app/win32/*.cpp src/wmi/win32/*.cpp src/dialogs/win32/*.cpp src/util/win32/*.cpp
  src/framework/win32/*.cpp)
list(FILTER BREVANE_WIN32_SOURCES EXCLUDE REGEX "src/app/win32/main\\.cpp$")
add_library(brevane_win32 STATIC ${BREVANE_WIN32_SOURCES})
target_link_libraries(brevane_win32 PUBLIC brevane_core ${BREVANE_WIN32_LIBS})
if(BREVANE_UNITY_BUILD)
  set_target_properties(brevane_win32 PROPERTIES UNITY_BUILD ON)
endif()

if(NOT MSVC)
  # One self-contained exe: no libstdc++/libgcc/winpthread DLLs beside it.
  set(BREVANE_STATIC_LINK -static -static-libgcc -static-libstdc++)
endif()

add_executable(brevane WIN32 src/app/win32/main.cpp res/brevane.rc)
target_link_libraries(brevane PRIVATE brevane_win32)
target_link_options(brevane PRIVATE ${BREVANE_STATIC_LINK} $<$<NOT:$<CXX_COMPILER_ID:MSVC>>:-municode>)

if(BREVANE_BUILD_TESTS AND NOT MSVC)
  # The program must start on Windows 7 SP1: nothing newer in its import table. Without objdump
  # the test fails rather than pass unchecked.
  if(CMAKE_OBJDUMP)
    set(BREVANE_OBJDUMP ${CMAKE_OBJDUMP})
  else()
    set(BREVANE_OBJDUMP objdump-not-found)
  endif()
  add_test(NAME win7_imports
    COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports.sh $<TARGET_FILE:brevane> ${BREVANE_OBJDUMP})
endif()

if(BREVANE_BUILD_TESTS)
  # Unit and integration tests of the Win32 layer, run under Wine (one ctest per executable).
  file(GLOB BREVANE_WIN_TESTS CONFIGURE_DEPENDS tests/*/win32/*_test.cpp)
  add_executable(brevane_wintests ${BREVANE_WIN_TESTS})
  # version: a test reads the built program's version information.
  target_link_libraries(brevane_wintests PRIVATE brevane_win32 brevane_testsupport version GTest::gmock GTest::gtest_main)
  target_link_options(brevane_wintests PRIVATE ${BREVANE_STATIC_LINK})
  # Some tests read the built program itself (its version information).
  add_dependencies(brevane_wintests brevane)
  if(BREVANE_UNITY_BUILD)
    # Each test file alone parses <windows.h> and googletest again: most of the build's time.
    set_target_properties(brevane_wintests PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 10)
  endif()
  add_test(NAME wintests COMMAND brevane_wintests)
  set_tests_properties(wintests PROPERTIES TIMEOUT 600)

  # The program built against the in-memory fake backend, for end-to-end tests.
  file(GLOB BREVANE_FAKE_APP_SOURCES CONFIGURE_DEPENDS tests/e2e/app/*.cpp)
  if(BREVANE_FAKE_APP_SOURCES)
    add_executable(brevane_fake WIN32 ${BREVANE_FAKE_APP_SOURCES} res/brevane.rc)
    target_link_libraries(brevane_fake PRIVATE brevane_win32 brevane_testsupport)
    target_link_options(brevane_fake PRIVATE ${BREVANE_STATIC_LINK} $<$<NOT:$<CXX_COMPILER_ID:MSVC>>:-municode>)
  endif()

  # End-to-end driver: starts the real programs and drives them with window messages.
  file(GLOB BREVANE_E2E_SOURCES CONFIGURE_DEPENDS tests/e2e/*_test.cpp tests/e2e/*_driver.cpp)
  if(BREVANE_E2E_SOURCES)
    add_executable(brevane_e2e ${BREVANE_E2E_SOURCES})
    target_link_libraries(brevane_e2e PRIVATE brevane_win32 brevane_testsupport GTest::gmock GTest::gtest_main)
    target_link_options(brevane_e2e PRIVATE ${BREVANE_STATIC_LINK})
    add_dependencies(brevane_e2e brevane)
    if(BREVANE_UNITY_BUILD)
      set_target_properties(brevane_e2e PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 12)
    endif()
    if(TARGET brevane_fake)
      add_dependencies(brevane_e2e brevane_fake)
    endif()
    add_test(NAME e2e COMMAND brevane_e2e)
    set_tests_properties(e2e PROPERTIES TIMEOUT 900
      ENVIRONMENT "BREVANE_EXE=$<TARGET_FILE:brevane>;BREVANE_FAKE_EXE=$<TARGET_FILE_DIR:brevane>/brevane_fake.exe")
  endif()

  # Small helper programs for the tests (for example the monitor peer of the hand-off).
  file(GLOB BREVANE_TEST_PROGRAMS CONFIGURE_DEPENDS tests/programs/*.cpp)
  foreach(src ${BREVANE_TEST_PROGRAMS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE brevane_win32)
    target_link_options(${name} PRIVATE ${BREVANE_STATIC_LINK} $<$<NOT:$<CXX_COMPILER_ID:MSVC>>:-municode>)
  endforeach()
  # The hand-off tests start the monitor's stand-in.
  if(TARGET kestrum_peer)
    add_dependencies(brevane_wintests kestrum_peer)
    if(TARGET brevane_e2e)
      add_dependencies(brevane_e2e kestrum_peer)
    endif()
  endif()
endif()

if(BREVANE_BUILD_BENCH)
  file(GLOB BREVANE_WIN_BENCHES CONFIGURE_DEPENDS bench/win32/*.cpp)
  foreach(src ${BREVANE_WIN_BENCHES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(bench_${name} ${src})
    target_link_libraries(bench_${name} PRIVATE brevane_win32 brevane_testsupport)
    target_include_directories(bench_${name} PRIVATE bench)
    target_link_options(bench_${name} PRIVATE ${BREVANE_STATIC_LINK})
  endforeach()
endif()

# The program's own help file, compiled with the Free Pascal CHM compiler when it is present
# and placed beside brevane.exe. The sources are copied first: the compiler writes its output
# next to the project file, and the source tree stays clean.
find_program(BREVANE_CHMCMD chmcmd)
if(BREVANE_CHMCMD)
  file(GLOB_RECURSE BREVANE_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
  set(BREVANE_HELP_WORK ${CMAKE_BINARY_DIR}/help)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/brevane.chm
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${BREVANE_HELP_WORK}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${BREVANE_HELP_WORK}
    COMMAND ${CMAKE_COMMAND} -E chdir ${BREVANE_HELP_WORK} ${BREVANE_CHMCMD} brevane.hhp
    COMMAND ${CMAKE_COMMAND} -E copy ${BREVANE_HELP_WORK}/brevane.chm ${CMAKE_BINARY_DIR}/brevane.chm
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS ${BREVANE_HELP_SOURCES}
    COMMENT "Compiling the help file brevane.chm"
    VERBATIM)
  add_custom_target(brevane_help ALL DEPENDS ${CMAKE_BINARY_DIR}/brevane.chm)
  add_dependencies(brevane brevane_help)
  if(TARGET brevane_wintests)
    add_dependencies(brevane_wintests brevane_help)
  endif()
else()
  message(STATUS "chmcmd not found: brevane.chm is not built")
endif()

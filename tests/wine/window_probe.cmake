# The Win32 half of the window system's agreement check: under Wine, over user32, the probe must
# print what it prints natively over the recording window system (tests/platform/CMakeLists.txt).
add_executable(window_probe ${CMAKE_SOURCE_DIR}/tests/support/window_probe.cpp
                            ${CMAKE_SOURCE_DIR}/platform/portable/call_log.cpp)
target_link_libraries(window_probe PRIVATE setup_parts)
add_test(NAME wine_window_probe
         COMMAND ${CMAKE_COMMAND} -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR} -DPROGRAM=$<TARGET_FILE:window_probe>
                 -DEXPECTED=${CMAKE_SOURCE_DIR}/tests/platform/data/window_probe.expected
                 -P ${CMAKE_SOURCE_DIR}/tests/support/compare_output.cmake)
# The office probe's prefix serves: this one changes nothing in it.
set_tests_properties(wine_window_probe PROPERTIES ENVIRONMENT WINEPREFIX=${office_probe_prefix}
                     FIXTURES_REQUIRED wine_office TIMEOUT 90
                     SKIP_REGULAR_EXPRESSION "SKIPPED: cannot run 32-bit Windows programs")

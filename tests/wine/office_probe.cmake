# The Win32 half of the agreement check: under Wine, the real registry, filled from each
# scenario of tests/office/data by the probe itself, must give the report the in-memory
# registry gives (the scenario's .expected file, which the native build checks too).
add_executable(office_probe ${CMAKE_CURRENT_SOURCE_DIR}/office_probe.cpp
                            ${CMAKE_SOURCE_DIR}/tests/support/office_report.cpp
                            ${CMAKE_SOURCE_DIR}/platform/portable/reg_text.cpp
                            ${CMAKE_SOURCE_DIR}/platform/portable/ansi_case.cpp
                            ${CMAKE_SOURCE_DIR}/platform/portable/code_page_1252.cpp)
target_link_libraries(office_probe PRIVATE setup_parts)

# A prefix of their own, so that no other Wine test sees or changes these keys; the
# checks take turns in it. The first run makes the prefix, which takes a while.
set(office_probe_prefix ${CMAKE_CURRENT_BINARY_DIR}/wineprefix)
add_test(NAME wine_office_prefix COMMAND office_probe --ready)
set_tests_properties(wine_office_prefix PROPERTIES ENVIRONMENT WINEPREFIX=${office_probe_prefix} SKIP_RETURN_CODE 77
                     FIXTURES_SETUP wine_office
                     RESOURCE_LOCK wine_office_registry TIMEOUT 600)

set(office_probe_data ${CMAKE_SOURCE_DIR}/tests/office/data)
file(GLOB expected_outputs CONFIGURE_DEPENDS ${office_probe_data}/*.expected)
foreach(expected ${expected_outputs})
  get_filename_component(scenario ${expected} NAME_WE)
  set(folders "")
  if(EXISTS ${office_probe_data}/${scenario}.folders)
    set(folders ${office_probe_data}/${scenario}.folders)
  endif()
  add_test(NAME wine_office_probe_${scenario}
           COMMAND ${CMAKE_COMMAND} -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR} -DPROGRAM=$<TARGET_FILE:office_probe>
                   -DWINDOWS_PATHS=ON -DSCENARIO=${office_probe_data}/${scenario}.reg -DFOLDERS=${folders}
                   -DEXPECTED=${expected} -P ${CMAKE_SOURCE_DIR}/tests/support/compare_output.cmake)
  set_tests_properties(wine_office_probe_${scenario} PROPERTIES ENVIRONMENT WINEPREFIX=${office_probe_prefix}
                       FIXTURES_REQUIRED wine_office RESOURCE_LOCK wine_office_registry TIMEOUT 60
                       SKIP_REGULAR_EXPRESSION "SKIPPED: cannot run 32-bit Windows programs")
endforeach()

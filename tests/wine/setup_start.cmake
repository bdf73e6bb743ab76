# setup.exe under Wine: it starts, shows its window of class "LunveraSetup" and ends with
# exit code 0 when sent command 18; and it imports system DLLs only.
add_executable(setup_start_check ${CMAKE_CURRENT_LIST_DIR}/setup_start_check.cpp)
set_target_properties(setup_start_check PROPERTIES WIN32_EXECUTABLE OFF)
if(TARGET setup)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    add_test(NAME wine_setup_start
             COMMAND setup_start_check $<TARGET_FILE:setup> "Vessora ${VESSORA_EDITION} Edition  v1.0 Setup")
    set_tests_properties(wine_setup_start PROPERTIES TIMEOUT 180)
  endif()
  add_test(NAME setup_imports_system_only
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:setup>)
  set_tests_properties(setup_imports_system_only PROPERTIES SKIP_RETURN_CODE 77)
endif()

# setup.exe under Wine: it starts, shows its window of class "LunveraSetup" and ends with
# exit code 0 when sent command 18; and it imports only the functions of the allow-list.
add_executable(setup_start_check ${CMAKE_CURRENT_LIST_DIR}/setup_start_check.cpp)
set_target_properties(setup_start_check PROPERTIES WIN32_EXECUTABLE OFF)
if(TARGET setup)
  add_test(NAME wine_setup_start
           COMMAND setup_start_check $<TARGET_FILE:setup> "Vessora ${VESSORA_EDITION} Edition  v1.0 Setup")
  set_tests_properties(wine_setup_start PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
  add_test(NAME setup_imports_allowed
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:setup>
                   ${CMAKE_CURRENT_LIST_DIR}/imports.allow)
  set_tests_properties(setup_imports_allowed PROPERTIES SKIP_RETURN_CODE 77)
endif()

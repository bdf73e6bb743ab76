# setup.exe imports only the functions of the allow-list. (Its start is the e2e
# scenario "start".)
if(TARGET setup)
  add_test(NAME setup_imports_allowed
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:setup>)
  set_tests_properties(setup_imports_allowed PROPERTIES SKIP_RETURN_CODE 77)
endif()

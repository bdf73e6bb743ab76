# Every setup.exe, each edition, imports only the functions of the allow-list. (Its start
# is the e2e scenario "start".)
foreach(program setup setup-standard setup-professional setup-quorvel)
  if(TARGET ${program})
    add_test(NAME ${program}_imports_allowed
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:${program}>)
    set_tests_properties(${program}_imports_allowed PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endforeach()

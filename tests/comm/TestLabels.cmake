# Gives every test case discovered in a GoogleTest executable the full list of
# labels. (Passing several labels through velmora_test keeps only the first:
# the list is split on its way into set_tests_properties.) Runs at ctest time,
# after the discovered cases have been listed in <target>_TESTS.
function(velmora_test_labels target)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
    set(labels "${ARGN}")
    file(WRITE ${script}
        "if(${target}_TESTS)\n"
        "    set_tests_properties(\${${target}_TESTS} PROPERTIES LABELS \"${labels}\")\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

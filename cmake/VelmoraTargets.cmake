# Helpers shared by the component CMakeLists files.

# Copies data/ beside the binaries on every build, so the program, the tests
# and the simulator find Velmora.ini, Language/ and the product data there.
function(velmora_copy_data)
    file(MAKE_DIRECTORY ${PROJECT_SOURCE_DIR}/data ${VELMORA_APP_DIR})
    add_custom_target(velmora_data ALL
        COMMAND ${CMAKE_COMMAND} -E copy_directory
                ${PROJECT_SOURCE_DIR}/data ${VELMORA_APP_DIR}
        COMMENT "Copying data beside the program")
endfunction()

# A plug-in: a shared library without the "lib" prefix (Portdesk.so), loaded
# by the host from its plug-in folder by that exact name; installed with the
# libraries.
function(velmora_plugin name)
    add_library(${name} MODULE ${ARGN})
    set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden)
    install(TARGETS ${name} LIBRARY DESTINATION ${VELMORA_LIB_INSTALL_DIR})
endfunction()

# A GoogleTest executable whose cases become CTest tests with the given labels.
#   velmora_test(NAME test_cli LABELS cli SOURCES a.cpp LIBS Lib E2E_CASES "^CliProgram[.]")
# Cases that need the real host, plug-ins or the simulator over a pty are
# end-to-end: label e2e on all of them, or E2E_CASES (a regular expression on
# the case names) for some. Only those run alone and may be run a second time
# by the test command; every other case runs in parallel and must pass at once.
function(velmora_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT;E2E_CASES" "LABELS;SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    if("e2e" IN_LIST T_LABELS)
        list(REMOVE_ITEM T_LABELS e2e)
        set(T_E2E_CASES ".")
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gtest_main ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    gtest_discover_tests(${T_NAME}
        WORKING_DIRECTORY ${VELMORA_APP_DIR}
        PROPERTIES TIMEOUT ${T_TIMEOUT}
        DISCOVERY_TIMEOUT 60)
    # List-valued properties do not survive the discovery step's command line,
    # so a second include file sets them on the discovered tests by name.
    set(is_e2e FALSE)
    if(T_E2E_CASES)
        set(is_e2e "t MATCHES \"${T_E2E_CASES}\"")
    endif()
    set(props ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_properties.cmake)
    file(WRITE ${props}
        "foreach(t IN LISTS ${T_NAME}_TESTS)\n"
        "  set(labels \"${T_LABELS}\")\n"
        "  set(serial OFF)\n"
        "  if(${is_e2e})\n"
        "    list(APPEND labels e2e)\n"
        "    set(serial ON)\n"
        "  endif()\n"
        "  set_tests_properties(\"\${t}\" PROPERTIES LABELS \"\${labels}\" RUN_SERIAL \${serial}\n"
        "    ENVIRONMENT \"QT_QPA_PLATFORM=offscreen;VELMORA_APP_DIR=${VELMORA_APP_DIR}\")\n"
        "endforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${props})
endfunction()

set(VELMORA_BENCH_LIBS TracelensWindow DriveSim VelmoraCore Qt6::Widgets)
if(NOT TARGET BenchScopePlugin)
    add_library(BenchScopePlugin MODULE ${CMAKE_CURRENT_LIST_DIR}/BenchScopePlugin.cpp)
    set_target_properties(BenchScopePlugin PROPERTIES PREFIX "" OUTPUT_NAME Tracelens
        CXX_VISIBILITY_PRESET hidden
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/benchplugins)
    target_include_directories(BenchScopePlugin PRIVATE ${PROJECT_SOURCE_DIR}/plugins/frame)
    target_link_libraries(BenchScopePlugin PRIVATE TracelensCore)
endif()
add_dependencies(${name} BenchScopePlugin)
target_compile_definitions(${name} PRIVATE BENCH_PLUGIN_DIR="${CMAKE_BINARY_DIR}/benchplugins"
    BENCH_APP_DIR="${VELMORA_APP_DIR}")
target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/plugins/tracelens/pictures)

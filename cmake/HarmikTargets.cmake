# Each code folder is one library whose sources are the .cpp files in it; a new
# file needs no edit of the build files.
function(harmik_folder_library name)
    cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
    file(GLOB _sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    file(GLOB _headers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    if(_sources)
        add_library(${name} STATIC ${_sources} ${_headers})
        target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}")
        target_link_libraries(${name} PUBLIC ${ARG_LINK})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE "${CMAKE_SOURCE_DIR}")
        target_link_libraries(${name} INTERFACE ${ARG_LINK})
    endif()
endfunction()

# One GoogleTest program per test folder: every *_test.cpp in it.
function(harmik_folder_tests name)
    cmake_parse_arguments(ARG "QT" "" "LINK" ${ARGN})
    file(GLOB _sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp"
         "${CMAKE_CURRENT_SOURCE_DIR}/*_support.cpp")
    if(NOT _sources)
        return()
    endif()
    add_executable(${name} ${_sources})
    target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock)
    target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
    set(_env "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
             "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
             "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
             "HARMIK_TEST_DATA_DIR=${HARMIK_BUILD_DATA_DIR}")
    if(ARG_QT)
        target_link_libraries(${name} PRIVATE Qt6::Test)
        list(APPEND _env "QT_QPA_PLATFORM=offscreen")
        target_sources(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests/qt_test_main.cpp")
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
                         PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 300 LABELS ${name})
endfunction()

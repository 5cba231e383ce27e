# One GoogleTest executable per test source file: tests/<layer>/<topic>_test.cpp
# becomes the executable <layer>_<topic>, linked with the given libraries.
find_package(GTest REQUIRED)
include(GoogleTest)

function(zel_add_tests layer)
  cmake_parse_arguments(ARG "" "" "LIBS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(src ${sources})
    get_filename_component(topic ${src} NAME_WE)
    string(REGEX REPLACE "_test$" "" topic ${topic})
    set(target ${layer}_${topic})
    add_executable(${target} ${src})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "${ARG_ENV}")
  endforeach()
endfunction()

set(ZESTRO_ISOLATED_TEST ${CMAKE_CURRENT_LIST_DIR}/isolated_test.sh)

# zestro_add_test(<name> SOURCES <files...> [LIBS <targets...>])
# Builds one QtTest executable, registers it with CTest and runs it on the offscreen platform
# with a fixed locale, so window tests need no display and number formats are predictable, and in
# a home folder of its own (isolated_test.sh), so no test reaches the user's settings or library.
function(zestro_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND sh ${ZESTRO_ISOLATED_TEST} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8;ZESTRO_BUILDER=$<TARGET_FILE:zestro-build-library>;ZESTRO_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    TIMEOUT 120)
endfunction()

# The winner list kill test: one program that is both the test and the child it kills.
add_executable(kill_recorder ${CMAKE_CURRENT_LIST_DIR}/kill_recorder.cpp)
target_link_libraries(kill_recorder PRIVATE vostrel_core Qt6::Test)
target_include_directories(kill_recorder PRIVATE ${CMAKE_CURRENT_LIST_DIR})
add_test(NAME kill_recorder COMMAND kill_recorder)
set_tests_properties(kill_recorder PROPERTIES ENVIRONMENT "${VOSTREL_TEST_ENV}" TIMEOUT 120)

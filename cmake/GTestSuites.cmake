# One ctest test per GoogleTest suite: "core_tests.RandomTest" runs core_tests with
# --gtest_filter=RandomTest.*. A process per case spent most of the test run starting
# processes; a process per executable leaves one core idle behind the slowest one. A failure
# names its suite in ctest's list and its case in the output ctest shows for it.
#
#   lyravane_gtest_suites(<target> [EXCLUDE <suite>...] [RUN_SERIAL <suite>...]
#                         [PROPERTIES <name> <value>...])
#
# The suites are listed when ctest starts, as gtest_discover_tests(... PRE_TEST) does, again
# only after the executable has changed. EXCLUDE leaves out suites that are no tests of their
# own (a helper another test runs in a child process); RUN_SERIAL suites run while no other
# test does (they time what they hear against the clock). PROPERTIES go to every suite's
# test; TIMEOUT is 300 s unless they say otherwise.

set(LYRAVANE_GTEST_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(lyravane_gtest_suites target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "EXCLUDE;RUN_SERIAL;PROPERTIES")
    set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}")
    set(include_file "${base}_suites_include.cmake")
    set(suites_file "${base}_suites.cmake")
    string(CONCAT content
        "if(EXISTS [==[$<TARGET_FILE:${target}>]==])\n"
        "  if(NOT EXISTS [==[${suites_file}]==] OR\n"
        "     NOT [==[${suites_file}]==] IS_NEWER_THAN [==[$<TARGET_FILE:${target}>]==] OR\n"
        "     NOT [==[${suites_file}]==] IS_NEWER_THAN \"\${CMAKE_CURRENT_LIST_FILE}\")\n"
        "    include([==[${LYRAVANE_GTEST_SUITES_SCRIPT}]==])\n"
        "    lyravane_gtest_suites_list([==[${target}]==] [==[$<TARGET_FILE:${target}>]==]\n"
        "      [==[${CMAKE_CURRENT_BINARY_DIR}]==] [==[${suites_file}]==]\n"
        "      [==[${arg_EXCLUDE}]==] [==[${arg_RUN_SERIAL}]==] [==[${arg_PROPERTIES}]==])\n"
        "  endif()\n"
        "  include([==[${suites_file}]==])\n"
        "else()\n"
        "  add_test([==[${target}_NOT_BUILT]==] [==[${target}_NOT_BUILT]==])\n"
        "endif()\n")
    file(GENERATE OUTPUT "${include_file}" CONTENT "${content}")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()

# Run by ctest: writes the add_test() of each suite the executable lists.
function(lyravane_gtest_suites_list target executable directory suites_file exclude serial
         properties)
    execute_process(COMMAND "${executable}" --gtest_list_tests
                    WORKING_DIRECTORY "${directory}"
                    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status
                    TIMEOUT 120)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${executable} --gtest_list_tests failed (${status}):\n"
                            "${listing}\n${errors}")
    endif()
    set(has_timeout FALSE)
    foreach(item IN LISTS properties)
        if(item STREQUAL "TIMEOUT")
            set(has_timeout TRUE)
        endif()
    endforeach()
    if(NOT has_timeout)
        list(APPEND properties TIMEOUT 300)
    endif()
    set(script "")
    set(count 0)
    string(REPLACE ";" "\\;" listing "${listing}")
    string(REPLACE "\n" ";" lines "${listing}")
    foreach(line IN LISTS lines)
        # A suite's line starts in the first column and ends with a full stop, perhaps
        # followed by "  # TypeParam = ..."; its cases follow, indented.
        if(NOT line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
            continue()
        endif()
        set(suite "${CMAKE_MATCH_1}")
        list(FIND exclude "${suite}" excluded)
        if(excluded GREATER -1 OR suite MATCHES "^DISABLED_|/DISABLED_")
            continue()
        endif()
        set(name "${target}.${suite}")
        string(APPEND script
            "add_test([==[${name}]==] [==[${executable}]==] [==[--gtest_filter=${suite}.*]==])\n"
            "set_tests_properties([==[${name}]==] PROPERTIES WORKING_DIRECTORY [==[${directory}]==]")
        foreach(item IN LISTS properties)
            string(APPEND script " [==[${item}]==]")
        endforeach()
        list(FIND serial "${suite}" alone)
        if(alone GREATER -1)
            string(APPEND script " RUN_SERIAL TRUE")
        endif()
        string(APPEND script ")\n")
        math(EXPR count "${count} + 1")
    endforeach()
    if(count EQUAL 0)
        message(FATAL_ERROR "${executable} lists no test suite:\n${listing}")
    endif()
    file(WRITE "${suites_file}" "${script}")
endfunction()

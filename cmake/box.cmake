# One library per box of the architecture. Layout of a box folder:
#   include/<name>/  public headers, seen by the boxes that link this one
#   src/             sources and private headers
#   tests/           GoogleTest sources, built into <name>_tests
# Boxes see only the headers of the boxes they link, so the layering rule holds at compile time.
# Every test program drives the headless display with its tests' input (host::SetHeadlessDriven).
function(startlogo_headless_driver)
  if(NOT TARGET startlogo_headless_driver)
    add_library(startlogo_headless_driver OBJECT ${CMAKE_SOURCE_DIR}/platform/host/testing/headless_driver.cpp)
    target_include_directories(startlogo_headless_driver PRIVATE ${CMAKE_SOURCE_DIR}/platform/host/include)
  endif()
endfunction()

function(startlogo_box name)
  cmake_parse_arguments(BOX "" "" "DEPS;LIBS;TEST_LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                       PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${BOX_DEPS} ${BOX_LIBS})
  else()
    add_library(${name} INTERFACE)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/include)
      target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/include)
    endif()
    target_link_libraries(${name} INTERFACE ${BOX_DEPS} ${BOX_LIBS})
  endif()

  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(tests)
    startlogo_headless_driver()
    add_executable(${name}_tests ${tests})
    target_include_directories(${name}_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src
                                                     ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    target_link_libraries(${name}_tests PRIVATE ${name} ${BOX_TEST_LIBS} GTest::gtest_main GTest::gmock
                                                startlogo_headless_driver)
    # Tests never touch a user's machine folder or desktop log-in entries; fixtures that write make
    # their own.
    gtest_discover_tests(${name}_tests
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT
        "STARTLOGO_DISPLAY=headless;STARTLOGO_ROOT=${CMAKE_BINARY_DIR}/test-machine;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config")
  endif()
endfunction()

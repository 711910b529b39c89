# sk_layer(NAME DIR [DEPS...]): one static library of every source in DIR and its folders.
# A folder without sources yet adds no target; its dependants link what lies below it.
set(SK_WIN32_LIBS user32 gdi32 comctl32 comdlg32 uxtheme ole32 oleaut32 oleacc
    shell32 shlwapi advapi32 version winmm msimg32 uuid imm32 dwmapi rpcrt4)

# Replaces layers without a target by their own dependencies.
function(sk_resolve out)
  set(result "")
  foreach(dep IN LISTS ARGN)
    if(TARGET ${dep})
      list(APPEND result ${dep})
    else()
      get_property(below GLOBAL PROPERTY SK_DEPS_${dep})
      if(below)
        sk_resolve(resolved ${below})
        list(APPEND result ${resolved})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES result)
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(sk_layer name dir)
  set_property(GLOBAL PROPERTY SK_DEPS_${name} ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  # A layer's resources: a static library cannot carry them into a program,
  # so every program that links the layer compiles them in.
  file(GLOB_RECURSE resources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.rc)
  if(resources)
    target_sources(${name} INTERFACE $<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:${resources}>)
  endif()
  sk_resolve(deps ${ARGN})
  target_link_libraries(${name} PUBLIC ${deps})
  # A layer's resources go into every program that links it: a resource
  # object in a static library would be left out, as no symbol refers to it.
  file(GLOB_RECURSE resources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.rc)
  if(resources)
    target_sources(${name} INTERFACE ${resources})
  endif()
  if(name STREQUAL "platform_runtime")
    target_link_libraries(${name} PUBLIC ${SK_WIN32_LIBS})
  endif()
endfunction()

# sk_program_sources(OUT DIR): the sources of a program folder below the
# current source folder, with the resources it may carry (form descriptions,
# images); empty when it has no C++ source yet.
function(sk_program_sources out dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(sources)
    file(GLOB resources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.rc)
    list(APPEND sources ${resources})
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# sk_test_folder(DIR LAYERS...): one test executable of every source in tests/DIR,
# run by ctest under Wine.
function(sk_test_folder dir)
  sk_program_sources(sources ${dir})
  if(NOT sources)
    return()
  endif()
  sk_resolve(deps ${ARGN})
  if(NOT deps)
    return()
  endif()
  set(exe test_${dir})
  add_executable(${exe} ${sources})
  target_link_libraries(${exe} PRIVATE test_support ${deps})
  add_test(NAME ${dir} COMMAND ${exe})
  set_tests_properties(${dir} PROPERTIES TIMEOUT 300)
endfunction()

# sk_test_folder_with_device(DIR LAYERS...): the test executable of tests/DIR,
# for tests that talk to the simulated device; sk_device_test runs it.
function(sk_test_folder_with_device dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  sk_resolve(deps ${ARGN})
  if(NOT sources OR NOT deps)
    return()
  endif()
  add_executable(test_${dir} ${sources})
  target_link_libraries(test_${dir} PRIVATE test_support ${deps})
endfunction()

# sk_device_test(NAME DIR FILTER DEVICE-OPTIONS...): runs the tests of tests/DIR
# that FILTER selects (a gtest filter) with a device that tools/device-sim
# simulates with DEVICE-OPTIONS, on a COM port of its own (tools/with-device).
function(sk_device_test name dir filter)
  if(NOT TARGET test_${dir})
    return()
  endif()
  add_test(NAME ${name}
           COMMAND ${CMAKE_SOURCE_DIR}/tools/with-device --build ${CMAKE_BINARY_DIR} ${ARGN}
                   -- ${CMAKE_SOURCE_DIR}/cmake/wine-run ${CMAKE_BINARY_DIR} $<TARGET_FILE:test_${dir}>
                   --gtest_filter=${filter})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# sk_separate_debug_info(TARGET): after linking, the program's debug
# information moves to TARGET.debug beside it, which the program names in its
# .gnu_debuglink, where Wine's debugger finds it for a crash's backtrace. The
# loader maps debug sections into memory like any other: a program that
# carries them starts slowly and holds three times the memory.
function(sk_separate_debug_info target)
  set(debug_file $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.debug)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${debug_file}
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${debug_file} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# sk_sort_resource_names(): after every program of the current folder is
# linked, its resource names are put in the order Windows searches them; GNU
# ld's merge leaves names with "_" in a place where lookups miss them (see
# cmake/sort-resource-names). Called at the end of each folder that makes
# programs, as a link step can only be added where the program is defined.
function(sk_sort_resource_names)
  get_property(targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      add_custom_command(TARGET ${target} POST_BUILD
                         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/cmake/sort-resource-names $<TARGET_FILE:${target}>
                         VERBATIM)
    endif()
  endforeach()
endfunction()

# sonvex_add_library(<name> LIBS <libs...>)
# Builds every .cpp/.h of the calling folder into the static library <name>.
function(sonvex_add_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE SONVEX_SOURCE_RESOURCES="${SONVEX_RESOURCES_DIR}")
endfunction()

# sonvex_add_tests(<folder> LIBS <libs...> [LABELS <labels...>])
# Every tests/<folder>/tst_*.cpp becomes one QtTest executable and one CTest test.
# Other .cpp files in that folder are shared helpers linked into each of them.
function(sonvex_add_tests folder)
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/tst_*.cpp)
  file(GLOB _all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  set(_helpers ${_all})
  if(_tests)
    list(REMOVE_ITEM _helpers ${_tests})
  endif()
  foreach(_t ${_tests})
    get_filename_component(_name ${_t} NAME_WE)
    add_executable(${_name} ${_t} ${_helpers})
    target_link_libraries(${_name} PRIVATE ${ARG_LIBS} Qt6::Test)
    target_include_directories(${_name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${folder} ${CMAKE_SOURCE_DIR}/src)
    target_compile_definitions(${_name} PRIVATE
      SONVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      SONVEX_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared")
    add_test(NAME ${folder}/${_name} COMMAND ${_name})
    set_tests_properties(${folder}/${_name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=*.debug=false"
      LABELS "${folder};${ARG_LABELS}"
      TIMEOUT 300)
  endforeach()
endfunction()

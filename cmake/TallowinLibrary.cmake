# tallowin_library(<folder> <dependencies>...): the static library of one source folder, made of
# every source file in it.
function(tallowin_library folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources MATCHES "\\.cpp")
    set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/placeholder.cpp)
    file(WRITE ${placeholder} "// This library has no code yet.\n")
    list(APPEND sources ${placeholder})
  endif()
  add_library(tallowin_${folder} STATIC ${sources})
  target_include_directories(tallowin_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(tallowin_${folder} PUBLIC ${ARGN})
endfunction()

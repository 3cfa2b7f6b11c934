# tallowin_library(<folder> SOURCES <files>... DEPENDS <targets>...): the static library of one
# source folder. The files are listed by hand, so that a folder can build a part only where its
# dependencies exist.
function(tallowin_library folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;DEPENDS")
  add_library(tallowin_${folder} STATIC ${arg_SOURCES})
  target_include_directories(tallowin_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(tallowin_${folder} PUBLIC ${arg_DEPENDS})
endfunction()

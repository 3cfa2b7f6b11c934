# tallowin_library(<folder> SOURCES <files>... DEPENDS <targets>...): the static library of one
# source folder, tallowin_<folder> with '/' made '_' (platform/codec: tallowin_platform_codec). The
# files are listed by hand, so that a folder can build a part only where its dependencies exist.
function(tallowin_library folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;DEPENDS")
  string(REPLACE "/" "_" name "tallowin_${folder}")
  add_library(${name} STATIC ${arg_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${arg_DEPENDS})
endfunction()

# cmake -DROOT=<source folder> -P CheckLayers.cmake
# The layer rule: each folder of src/ may include from its own folder and from the folders below it,
# never from a folder above or beside it:
#   app -> capture, settings -> imaging -> host -> platform
# The same holds for tests/<folder>/, which test the folder of that name. Fails naming every
# include that breaks the rule.
set(rank_platform 0)
set(rank_host 1)
set(rank_imaging 2)
set(rank_capture 3)
set(rank_settings 3)
set(rank_app 4)
set(layers platform host imaging capture settings app)

set(broken "")
foreach(tree src tests)
  foreach(layer IN LISTS layers)
    file(GLOB_RECURSE files ${ROOT}/${tree}/${layer}/*.h ${ROOT}/${tree}/${layer}/*.cpp)
    foreach(file IN LISTS files)
      file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([a-z]+)/.*$" "\\1" target "${line}")
        if(NOT DEFINED rank_${target} OR target STREQUAL layer)
          continue()
        endif()
        if(NOT rank_${target} LESS rank_${layer})
          file(RELATIVE_PATH where ${ROOT} ${file})
          string(STRIP "${line}" line)
          list(APPEND broken "${where}: ${line} (${layer} may not include from ${target})")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(broken)
  list(JOIN broken "\n  " report)
  message(FATAL_ERROR "Includes against the layer rule:\n  ${report}")
endif()
message(STATUS "Every include follows the layer rule.")

# cmake -DROOT=<source folder> -P CheckLayers.cmake
# The layer rule: each folder of src/ may include from its own folder and from the folders below it,
# never from a folder above or beside it:
#   app -> capture, settings -> imaging -> host -> platform
# Inside platform/ the same rule holds for its rooms, with a rank of their own:
#   clipboard -> codec, gdi -> picture -> memory, files
# The headers at the top of platform/ (WinTypes.h) belong to no room, and every room may include them.
# The same holds for tests/<folder>/, which test the folder of that name. Fails naming every
# include that breaks the rule.
cmake_minimum_required(VERSION 3.25)
set(rank_platform 0)
set(rank_host 1)
set(rank_imaging 2)
set(rank_capture 3)
set(rank_settings 3)
set(rank_app 4)
set(layers platform host imaging capture settings app)

set(room_rank_memory 0)
set(room_rank_files 0)
set(room_rank_picture 1)
set(room_rank_codec 2)
set(room_rank_gdi 2)
set(room_rank_clipboard 3)
set(rooms memory files picture codec gdi clipboard)

set(broken "")
# Checks one include line of `file` (in folder `from`, of rank `from_rank` in table `table`) against
# the target folder `to`.
macro(check_rank table from to file line)
  if(DEFINED ${table}${to} AND NOT "${to}" STREQUAL "${from}" AND NOT ${table}${to} LESS ${table}${from})
    file(RELATIVE_PATH where ${ROOT} ${file})
    string(STRIP "${line}" stripped)
    list(APPEND broken "${where}: ${stripped} (${from} may not include from ${to})")
  endif()
endmacro()

foreach(tree src tests)
  foreach(layer IN LISTS layers)
    file(GLOB_RECURSE files ${ROOT}/${tree}/${layer}/*.h ${ROOT}/${tree}/${layer}/*.cpp)
    foreach(file IN LISTS files)
      file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([a-z]+)/.*$" "\\1" target "${line}")
        check_rank(rank_ ${layer} ${target} ${file} "${line}")
      endforeach()
    endforeach()
  endforeach()

  foreach(room IN LISTS rooms)
    file(GLOB_RECURSE files ${ROOT}/${tree}/platform/${room}/*.h ${ROOT}/${tree}/platform/${room}/*.cpp)
    foreach(file IN LISTS files)
      file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"platform/[a-z]+/")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"platform/([a-z]+)/.*$" "\\1" target "${line}")
        if(NOT DEFINED room_rank_${target})
          file(RELATIVE_PATH where ${ROOT} ${file})
          list(APPEND broken "${where}: includes from platform/${target}/, which is no room")
          continue()
        endif()
        check_rank(room_rank_ ${room} ${target} ${file} "${line}")
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(broken)
  list(JOIN broken "\n  " report)
  message(FATAL_ERROR "Includes against the layer rule:\n  ${report}")
endif()
message(STATUS "Every include follows the layer rule.")

# Each folder of src/ is a layer that may include only itself and the layers
# below it. Its sources are compiled with an include root of links to just
# those folders (build/<preset>/layers/<layer>), so an include of a higher
# layer does not compile. Programs, tools and tests see all of src/ through
# launcher_headers.
# In order: each layer sees itself and those before it.
set(_layers resources common ui settings jre vm splash launcher)
set(_below "")
foreach(layer IN LISTS _layers)
  list(APPEND _below ${layer})
  set(LAYER_${layer} ${_below})
endforeach()

foreach(layer IN LISTS _layers)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS LAYER_${layer})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
endforeach()

add_library(launcher_headers INTERFACE)
target_include_directories(launcher_headers INTERFACE ${CMAKE_SOURCE_DIR}/src)

# Gives each source of `target` under src/<layer>/ its layer's include root.
function(launcher_layer_includes target)
  get_target_property(sources ${target} SOURCES)
  foreach(source IN LISTS sources)
    if(source MATCHES "^src/([a-z]+)/")
      if(NOT DEFINED LAYER_${CMAKE_MATCH_1})
        message(FATAL_ERROR "${source}: src/${CMAKE_MATCH_1} is not a layer")
      endif()
      set_source_files_properties(${source} PROPERTIES INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/layers/${CMAKE_MATCH_1})
    endif()
  endforeach()
endfunction()

# A layer's Windows code lies in its win32/ folder: only there may a file
# include <windows.h> or another win32/ folder's header. Everything else is
# portable and built natively too.
file(GLOB_RECURSE _layer_files ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/src/*.cpp)
foreach(file IN LISTS _layer_files)
  if(NOT file MATCHES "/win32/")
    file(STRINGS ${file} _windows_include REGEX "^#include (<windows.h>|\"[a-z]+/win32/)")
    if(_windows_include)
      message(FATAL_ERROR "${file} includes Windows code outside a win32/ folder")
    endif()
  endif()
endforeach()

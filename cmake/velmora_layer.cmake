# velmora_layer(NAME [WITH_QT] SOURCES files... PUBLIC layers... PRIVATE layers...)
#
# One layer of the product: the folder NAME, built as the static library
# velmora_NAME from the listed sources of that folder. PUBLIC names the layers
# whose headers NAME's own headers include (its users see them too), PRIVATE
# those only its sources include; a name with "::" is a target from outside the
# project. A WITH_QT layer is built only with the window.
#
# The build and the include check (tests/layers/check_layers.cmake) both read the
# graph from these calls: in script mode the function only records it, as
# VELMORA_LAYERS and VELMORA_LAYER_<NAME>_{PUBLIC,PRIVATE,WITH_QT}.
function(velmora_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WITH_QT" "" "SOURCES;PUBLIC;PRIVATE")
  set(layers ${VELMORA_LAYERS} ${name})
  set(VELMORA_LAYERS ${layers} PARENT_SCOPE)
  set(VELMORA_LAYER_${name}_PUBLIC ${arg_PUBLIC} PARENT_SCOPE)
  set(VELMORA_LAYER_${name}_PRIVATE ${arg_PRIVATE} PARENT_SCOPE)
  set(VELMORA_LAYER_${name}_WITH_QT ${arg_WITH_QT} PARENT_SCOPE)
  if(CMAKE_SCRIPT_MODE_FILE OR (arg_WITH_QT AND NOT VELMORA_WITH_QT))
    return()
  endif()

  list(TRANSFORM arg_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/${name}/)
  add_library(velmora_${name} STATIC ${arg_SOURCES})
  target_include_directories(velmora_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  foreach(scope PUBLIC PRIVATE)
    set(targets)
    foreach(dep ${arg_${scope}})
      if(dep MATCHES "::")
        list(APPEND targets ${dep})
      else()
        list(APPEND targets velmora_${dep})
      endif()
    endforeach()
    if(targets)
      target_link_libraries(velmora_${name} ${scope} ${targets})
    endif()
  endforeach()
endfunction()

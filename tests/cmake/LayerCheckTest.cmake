# LayerCheckTest.cmake: the layer check refuses every spelling of an upward
# include, in subfolders too, and lets a downward one pass.
#   cmake -DCHECK=<LayerCheck.cmake> -DWORK=<scratch folder> -P LayerCheckTest.cmake

set(layers "app;list;win")

# Checks a tree of three layers in which list/<file> holds the line given.
function(check_tree name file line outcome)
  set(root "${WORK}/${name}")
  file(REMOVE_RECURSE "${root}")
  file(WRITE "${root}/app/Top.h" "#pragma once\n")
  file(WRITE "${root}/win/Bottom.h" "#pragma once\n")
  file(WRITE "${root}/list/${file}" "// ${name}\n${line}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} "-DLAYERS=${layers}" -P ${CHECK}
                  RESULT_VARIABLE result ERROR_VARIABLE said OUTPUT_QUIET)
  if(outcome STREQUAL "refused" AND (result EQUAL 0 OR NOT said MATCHES "list/"))
    message(SEND_ERROR "${name}: '${line}' in list/${file} was not refused")
  elseif(outcome STREQUAL "passed" AND NOT result EQUAL 0)
    message(SEND_ERROR "${name}: '${line}' in list/${file} was refused: ${said}")
  endif()
endfunction()

check_tree(plain Row.cpp "#include \"app/Top.h\"" refused)
check_tree(spaced Row.cpp "  #  include   \"app/Top.h\"" refused)
check_tree(angled Row.h "#include <app/Top.h>" refused)
check_tree(climbing Row.cpp "#include \"../app/Top.h\"" refused)
check_tree(backslashed Row.cpp "#include \"..\\\\app\\\\Top.h\"" refused)
check_tree(capitalised Row.cpp "#include \"App/Top.h\"" refused)
check_tree(subfolder deep/Row.cpp "#include \"../../app/Top.h\"" refused)
check_tree(computed Row.cpp "#include HEADER" refused)
check_tree(downward deep/Row.cpp "#include \"win/Bottom.h\"" passed)
check_tree(own Row.cpp "#include \"list/Row.h\"\n#include <windows.h>" passed)

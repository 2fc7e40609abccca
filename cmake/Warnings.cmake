# Every target of the project compiles with the same warning set.
function(orvane_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
                                             -Woverloaded-virtual -Wno-unused-parameter)
endfunction()

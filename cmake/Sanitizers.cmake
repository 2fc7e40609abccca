# -DORVANE_SANITIZE=ON: AddressSanitizer and UndefinedBehaviorSanitizer in
# every target. Undefined behaviour stops the program like an address error
# does, so any report fails the test that caused it.
# -DORVANE_SANITIZE=thread: ThreadSanitizer in every target; Qt's own
# libraries are not instrumented, so tests/tsan.supp names what Qt's threads
# do among themselves.
# Both build at -O1 with line tables only (-g1): reports still name files
# and lines, and a sanitized build compiles in about 60% of the time it
# takes at -O2 -g.
if(ORVANE_SANITIZE)
    string(REPLACE "-O2" "-O1" CMAKE_CXX_FLAGS_RELWITHDEBINFO "${CMAKE_CXX_FLAGS_RELWITHDEBINFO}")
    string(REPLACE "-g" "-g1" CMAKE_CXX_FLAGS_RELWITHDEBINFO "${CMAKE_CXX_FLAGS_RELWITHDEBINFO}")
endif()
if(ORVANE_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(ORVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

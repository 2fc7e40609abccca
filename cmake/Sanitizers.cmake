# -DORVANE_SANITIZE=ON: AddressSanitizer and UndefinedBehaviorSanitizer in
# every target. Undefined behaviour stops the program like an address error
# does, so any report fails the test that caused it.
# -DORVANE_SANITIZE=thread: ThreadSanitizer in every target; Qt's own
# libraries are not instrumented, so tests/tsan.supp names what Qt's threads
# do among themselves.
if(ORVANE_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(ORVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# -DORVANE_SANITIZE=ON: AddressSanitizer and UndefinedBehaviorSanitizer in
# every target. Undefined behaviour stops the program like an address error
# does, so any report fails the test that caused it.
if(ORVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

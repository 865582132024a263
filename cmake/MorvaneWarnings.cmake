# morvane_set_warnings(<target>): the warning level every morvane target
# builds with. With MORVANE_WERROR each of these warnings is an error; the CI
# turns it on in every build (the presets read it from the environment).
function(morvane_set_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(MORVANE_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# The warnings every target of the project is built with. Targets link this PRIVATE, so that the
# flags reach no third-party code: not GoogleTest when it is built from source, and not Qt's
# headers, which its imported targets bring in as system headers.
# CI sets MIRVEL_WERROR=ON in the environment, so that every build it makes, the Windows,
# fuzzing and sanitizer ones included, fails on a warning.
set(mirvel_werror_default OFF)
if(DEFINED ENV{MIRVEL_WERROR})
  set(mirvel_werror_default $ENV{MIRVEL_WERROR})
endif()
option(MIRVEL_WERROR "Treat the project's warnings as errors" ${mirvel_werror_default})

add_library(mirvel_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  # No -Wconversion: the byte and Qt size code would need a cast on nearly every line.
  set(flags -Wall -Wextra -Wpedantic -Wshadow)
  set(werror -Werror)
elseif(MSVC)
  set(flags /W4 /permissive-)
  set(werror /WX)
endif()
if(MIRVEL_WERROR)
  list(APPEND flags ${werror})
endif()
# C++ only: the Windows resource compiler takes none of these.
target_compile_options(mirvel_warnings INTERFACE "$<$<COMPILE_LANGUAGE:CXX>:${flags}>")

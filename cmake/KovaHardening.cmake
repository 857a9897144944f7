# The hardening Debian's build flags give (dpkg-buildflags with
# hardening=+all): fortified functions where the code is optimised, the
# stack protector and clash protection, read-only relocations bound at start
# and position-independent executables. Left out under the sanitizers, which
# replace the fortified functions with their own checks.
option(KOVA_HARDENING "Build with the hardening flags of Debian packages" ON)
if(NOT KOVA_HARDENING OR KOVA_SANITIZE OR KOVA_FUZZ)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# _FORTIFY_SOURCE only takes effect with optimisation (and warns without).
add_compile_options(
  "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
  -fstack-protector-strong -fstack-clash-protection -Wformat -Werror=format-security)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i.86")
  add_compile_options(-fcf-protection)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)

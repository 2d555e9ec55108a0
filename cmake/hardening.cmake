# The hardening a Debian package is expected to carry: a stack protector, fortified libc calls,
# a position-independent executable, and relocations made read-only and bound at start-up.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
add_compile_options(-fstack-protector-strong -fstack-clash-protection)
# Fortified calls need the optimiser, and the sanitizers bring checks of their own.
if(NOT MERVEL_SANITIZE)
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endif()
add_link_options(-Wl,-z,relro -Wl,-z,now)

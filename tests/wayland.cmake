# The Wayland desktop's end-to-end suite and the virtual keyboard it types with: a client of
# our own, built from the protocol's description with wayland-scanner.
enable_language(C)
find_program(MERVEL_WAYLAND_SCANNER wayland-scanner REQUIRED)
find_library(MERVEL_WAYLAND_CLIENT wayland-client REQUIRED)
find_library(MERVEL_XKBCOMMON xkbcommon REQUIRED)
set(protocol ${CMAKE_CURRENT_SOURCE_DIR}/wayland/virtual-keyboard-unstable-v1.xml)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/wayland)
add_custom_command(
    OUTPUT ${generated}/virtual-keyboard-unstable-v1-client-protocol.h
           ${generated}/virtual-keyboard-unstable-v1-protocol.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
    COMMAND ${MERVEL_WAYLAND_SCANNER} client-header ${protocol}
            ${generated}/virtual-keyboard-unstable-v1-client-protocol.h
    COMMAND ${MERVEL_WAYLAND_SCANNER} private-code ${protocol}
            ${generated}/virtual-keyboard-unstable-v1-protocol.c
    DEPENDS ${protocol}
    VERBATIM)
add_executable(wlkeys wayland/wlkeys.c ${generated}/virtual-keyboard-unstable-v1-protocol.c
    ${generated}/virtual-keyboard-unstable-v1-client-protocol.h)
set_target_properties(wlkeys PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON)
target_include_directories(wlkeys PRIVATE ${generated})
target_link_libraries(wlkeys PRIVATE ${MERVEL_WAYLAND_CLIENT} ${MERVEL_XKBCOMMON})

add_test(NAME e2e_wayland
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e_wayland.sh $<TARGET_FILE:mervel> $<TARGET_FILE:wlkeys>)
set_tests_properties(e2e_wayland PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)

# The bell sound's fallbacks, without a display.
mervel_test(tst_eventsound LABEL unit SOURCES tst_eventsound.cpp LIBS mervel_platform)

# Every cell of the display matrix, with Qt's wayland plugin where Qt looks for it or hidden.
add_test(NAME displaymatrix
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/displaymatrix.sh $<TARGET_FILE:mervel>
            ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/platforms)
set_tests_properties(displaymatrix PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)

/* Presses keys on a Wayland compositor through a virtual keyboard, as a person would on a real
 * one: it uploads the real XKB keymap of the layouts given and sends the key codes of that
 * keymap. It reads one line at a time from standard input and answers "ok" on standard output
 * when the compositor has taken it:
 *   group N         makes group N (0 the first layout) the active one
 *   KEY...          presses and releases each key in turn
 * A key is named by the symbol it gives in the active group, with modifiers before it:
 * ctrl+Cyrillic_em, with "ru" active, presses Ctrl and the key of М (the key of V). The one
 * keyboard lives as long as the program, so that clients keep their keyboard between lines.
 * Usage: wlkeys LAYOUTS   e.g. wlkeys us,ru */
#define _GNU_SOURCE
#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

static struct wl_seat* seat;
static struct zwp_virtual_keyboard_manager_v1* manager;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static struct wl_display* display;
static struct zwp_virtual_keyboard_v1* keyboard;
static struct xkb_keymap* keymap;
static struct xkb_state* state;

static uint32_t now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

/* One key down or up, then the modifiers and group the keymap says follow from it. */
static void send(xkb_keycode_t code, int down) {
    zwp_virtual_keyboard_v1_key(keyboard, now(), code - 8, down ? 1 : 0);
    xkb_state_update_key(state, code, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_modifiers(
        keyboard, xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
    wl_display_roundtrip(display);
    usleep(20000);
}

/* The key that gives sym in the layout, and whether it needs Shift; 0 when none does. */
static xkb_keycode_t find(xkb_keysym_t sym, xkb_layout_index_t layout, int* shifted) {
    for (int level = 0; level < 2; ++level) {
        for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap);
             code <= xkb_keymap_max_keycode(keymap); ++code) {
            const xkb_keysym_t* syms;
            const int n = xkb_keymap_key_get_syms_by_level(keymap, code, layout, level, &syms);
            for (int i = 0; i < n; ++i) {
                if (syms[i] == sym) {
                    *shifted = level;
                    return code;
                }
            }
        }
    }
    return 0;
}

static xkb_keycode_t named(const char* name, xkb_layout_index_t layout, int* shifted) {
    const xkb_keysym_t sym = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
    xkb_keycode_t code = sym == XKB_KEY_NoSymbol ? 0 : find(sym, layout, shifted);
    if (code == 0) {
        fprintf(stderr, "wlkeys: no key gives '%s' in group %u\n", name, layout);
        exit(1);
    }
    return code;
}

static void press(char* spec) {
    const xkb_layout_index_t layout = xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE);
    xkb_keycode_t held[8];
    int count = 0;
    int shifted = 0;
    char* plus;
    while ((plus = strchr(spec, '+')) != NULL && plus[1] != '\0' && count < 7) {
        *plus = '\0';
        const char* name = strcmp(spec, "ctrl") == 0    ? "Control_L"
                           : strcmp(spec, "shift") == 0 ? "Shift_L"
                           : strcmp(spec, "alt") == 0   ? "Alt_L"
                                                        : spec;
        held[count++] = named(name, layout, &shifted);
        spec = plus + 1;
    }
    const xkb_keycode_t code = named(spec, layout, &shifted);
    if (shifted)
        held[count++] = named("Shift_L", layout, &shifted);
    for (int i = 0; i < count; ++i)
        send(held[i], 1);
    send(code, 1);
    send(code, 0);
    for (int i = count; i-- > 0;)
        send(held[i], 0);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: wlkeys LAYOUTS\n");
        return 2;
    }
    display = wl_display_connect(NULL);
    if (display == NULL) {
        fprintf(stderr, "wlkeys: no Wayland compositor\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (seat == NULL || manager == NULL) {
        fprintf(stderr, "wlkeys: the compositor offers no virtual keyboard\n");
        return 1;
    }

    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const struct xkb_rule_names names = {"evdev", "pc105", argv[1], "", ""};
    keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == NULL) {
        fprintf(stderr, "wlkeys: no keymap for '%s'\n", argv[1]);
        return 1;
    }
    state = xkb_state_new(keymap);

    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = strlen(text) + 1;
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != (ssize_t)size) {
        perror("wlkeys: keymap");
        return 1;
    }
    keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat);
    zwp_virtual_keyboard_v1_keymap(keyboard, XKB_KEYMAP_FORMAT_TEXT_V1, fd, (uint32_t)size);
    zwp_virtual_keyboard_v1_modifiers(keyboard, 0, 0, 0, 0);
    wl_display_roundtrip(display);
    printf("ready\n");
    fflush(stdout);

    char* line = NULL;
    size_t capacity = 0;
    while (getline(&line, &capacity, stdin) > 0) {
        unsigned group;
        if (sscanf(line, "group %u", &group) == 1) {
            xkb_state_update_mask(state, 0, 0, 0, 0, 0, group);
            zwp_virtual_keyboard_v1_modifiers(keyboard, 0, 0, 0, group);
            wl_display_roundtrip(display);
        } else {
            for (char* key = strtok(line, " \t\n"); key != NULL; key = strtok(NULL, " \t\n"))
                press(key);
        }
        printf("ok\n");
        fflush(stdout);
    }
    free(line);

    zwp_virtual_keyboard_v1_destroy(keyboard);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    close(fd);
    free(text);
    return 0;
}

/* Clicks the left button at X,Y of the compositor's output layout, WIDTH by HEIGHT, through a
 * virtual pointer: the press and release a user's click gives, from outside the launcher.
 * Usage: virtualclick X Y WIDTH HEIGHT */
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { leftButton = 0x110 };

static struct wl_seat *seat;
static struct zwlr_virtual_pointer_manager_v1 *manager;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version)
{
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !seat) {
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    }
}

static void globalRemove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registryListener = {global, globalRemove};

static uint32_t now(void)
{
    struct timespec time;
    clock_gettime(CLOCK_MONOTONIC, &time);
    return (uint32_t)(time.tv_sec * 1000 + time.tv_nsec / 1000000);
}

int main(int argc, char **argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: %s X Y WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, NULL);
    wl_display_roundtrip(display);
    if (!manager) {
        fprintf(stderr, "the compositor has no virtual pointer\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1 *pointer
        = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    /* A seat's first pointer device tells the clients that there is a pointer, and a button event
     * before a client has asked for its pointer in turn is lost to it: time to ask. */
    const struct timespec settle = {0, 300 * 1000 * 1000};
    nanosleep(&settle, NULL);
    zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), (uint32_t)atoi(argv[1]),
                                            (uint32_t)atoi(argv[2]), (uint32_t)atoi(argv[3]),
                                            (uint32_t)atoi(argv[4]));
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    const struct timespec pause = {0, 50 * 1000 * 1000};
    for (uint32_t state = 1;; state = 0) {
        zwlr_virtual_pointer_v1_button(pointer, now(), leftButton, state);
        zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_roundtrip(display);
        if (state == 0) {
            break;
        }
        nanosleep(&pause, NULL);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    if (seat) {
        wl_seat_destroy(seat);
    }
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}

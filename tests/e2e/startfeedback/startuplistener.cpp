// Listens on the root window of the X server in DISPLAY for start-up notification messages and
// prints each whole message as one line as soon as its last piece comes; "listening" first, once
// the server has taken the request for them.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace
{
xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}
} // namespace

int main()
{
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fputs("no X server\n", stderr);
        return 1;
    }
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i) {
        xcb_screen_next(&roots);
    }
    const xcb_window_t root = roots.data->root;
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t info = atom(connection, "_NET_STARTUP_INFO");
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_request_check(
        connection,
        xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask));
    std::puts("listening");
    std::fflush(stdout);

    // The pieces so far of each sender's message.
    std::map<xcb_window_t, std::string> pieces;
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
            if (message->format == 8 && (message->type == begin || message->type == info)) {
                std::string &text = pieces[message->window];
                if (message->type == begin) {
                    text.clear();
                }
                const char *data = reinterpret_cast<const char *>(message->data.data8);
                const size_t length = strnlen(data, 20);
                text.append(data, length);
                if (length < 20) {
                    std::printf("%s\n", text.c_str());
                    std::fflush(stdout);
                    pieces.erase(message->window);
                }
            }
        }
        std::free(event);
    }
    return 0;
}

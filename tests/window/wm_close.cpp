// wm_close: asks an X window to close the way a window manager's close
// button does, with a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW.
// SDL 1.2 turns that message into SDL_QUIT. Usage: tetherorb2-wmclose WINDOW-ID
// Exit code 0 when the message was sent, 1 otherwise.
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
  if (argc != 2) {
    fprintf(stderr, "usage: %s WINDOW-ID\n", argv[0]);
    return 1;
  }
  Window window = (Window)strtoul(argv[1], NULL, 0);
  Display* display = XOpenDisplay(NULL);
  if (!display || window == 0) {
    fprintf(stderr, "wm_close: no display or no window\n");
    return 1;
  }
  XEvent event;
  memset(&event, 0, sizeof(event));
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent ? 0 : 1;
}

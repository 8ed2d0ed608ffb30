/* The one duty of a window manager that Wine waits for, and nothing else, on the test display.
 *
 * Wine hides or destroys a top-level window it treats as managed only once a window manager has
 * marked the window as shown (the ICCCM WM_STATE property); without one it waits 2 seconds each
 * time, in the program's own thread. The test displays have no window manager (so that windows
 * stay exactly where the program puts them): this client marks every window mapped on the root
 * as NormalState and every unmapped one as WithdrawnState, as a window manager would. It moves,
 * stacks, decorates and focuses nothing, and takes no redirection.
 *   wm_state_keeper            (on $DISPLAY; runs until the display closes)
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <unistd.h>

enum { kWithdrawnState = 0, kNormalState = 1 };

static int IgnoreErrors(Display *display, XErrorEvent *error) {
  (void)display;
  (void)error;  /* a window gone before it was marked: nothing to do */
  return 0;
}

static void SetState(Display *display, Atom wm_state, Window window, long state) {
  const long value[2] = {state, None}; /* state, icon window */
  XChangeProperty(display, window, wm_state, wm_state, 32, PropModeReplace, (const unsigned char *)value, 2);
}

int main(void) {
  /* A display just started may still refuse a client now and then under load: a few tries. */
  Display *display = NULL;
  for (int attempt = 0; attempt < 50 && !display; ++attempt) {
    display = XOpenDisplay(NULL);
    if (!display) usleep(100 * 1000);
  }
  if (!display) {
    fprintf(stderr, "wm_state_keeper: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  const Atom wm_state = XInternAtom(display, "WM_STATE", False);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XFlush(display);
  printf("ready\n");
  fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect) {
      SetState(display, wm_state, event.xmap.window, kNormalState);
    } else if (event.type == UnmapNotify && event.xunmap.event == root) {
      SetState(display, wm_state, event.xunmap.window, kWithdrawnState);
    } else {
      continue;
    }
    XFlush(display);
  }
}

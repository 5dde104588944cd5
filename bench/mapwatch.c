/* mapwatch: starts a program and reports how long it took until its window was mapped (and,
 * when asked, until a pixel of that window shows a given colour), then its peak memory.
 *   mapwatch NAME [DX DY RRGGBB ...] -- PROGRAM [ARGS...]
 * NAME is the window's title (WM_NAME or _NET_WM_NAME). Each DX DY RRGGBB triple is a pixel of the
 * window that must show that colour before the window counts as painted. Prints one line:
 *   ms=<start to mapped and painted> rss_kb=<peak resident set of the program, once idle>
 * Exit status 1 when the window did not appear within 10 s. Built and run by bench/startup.sh. */
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int titled(Display* d, Window w, const char* name) {
    Atom net = XInternAtom(d, "_NET_WM_NAME", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long n, left;
    unsigned char* data = NULL;
    int match = 0;
    if (XGetWindowProperty(d, w, net, 0, 256, False, utf8, &type, &format, &n, &left, &data) ==
            Success &&
        data) {
        match = strcmp((char*)data, name) == 0;
        XFree(data);
        if (match)
            return 1;
    }
    char* plain = NULL;
    if (XFetchName(d, w, &plain) && plain) {
        match = strcmp(plain, name) == 0;
        XFree(plain);
    }
    return match;
}

static long peak_rss_kb(pid_t pid) {
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* f = fopen(path, "r");
    long kb = -1;
    if (!f)
        return -1;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            break;
    fclose(f);
    return kb;
}

static int ignore_errors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

int main(int argc, char** argv) {
    int sep = 0;
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], "--") == 0) {
            sep = i;
            break;
        }
    if (sep < 2 || sep + 1 >= argc || (sep - 2) % 3 != 0) {
        fprintf(stderr, "usage: mapwatch NAME [DX DY RRGGBB ...] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    const char* name = argv[1];
    int pixels = (sep - 2) / 3;
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "mapwatch: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[sep + 1], argv + sep + 1);
        _exit(127);
    }
    Window found = 0;
    double deadline = start + 10000;
    while (!found && now_ms() < deadline) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && titled(d, e.xmap.window, name))
                found = e.xmap.window;
        }
        if (!found)
            usleep(200);
    }
    int painted = found != 0 && pixels == 0;
    while (found && !painted && now_ms() < deadline) {
        painted = 1;
        for (int p = 0; p < pixels && painted; ++p) {
            int x = atoi(argv[2 + 3 * p]), y = atoi(argv[3 + 3 * p]);
            unsigned long want = strtoul(argv[4 + 3 * p], NULL, 16);
            XImage* img = XGetImage(d, found, x, y, 1, 1, AllPlanes, ZPixmap);
            unsigned long got = img ? (XGetPixel(img, 0, 0) & 0xFFFFFF) : 0xFFFFFFFF;
            if (img)
                XDestroyImage(img);
            painted = got == want;
        }
        if (!painted)
            usleep(200);
    }
    double elapsed = now_ms() - start;
    usleep(300 * 1000); // idle, as a user would find it
    long rss = peak_rss_kb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    XCloseDisplay(d);
    if (!painted) {
        fprintf(stderr, "mapwatch: no window \"%s\" %s within 10 s\n", name,
                found ? "painted" : "mapped");
        return 1;
    }
    printf("ms=%.1f rss_kb=%ld\n", elapsed, rss);
    return 0;
}

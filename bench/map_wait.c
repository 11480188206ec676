/* Times a program's window start-up from the X server's side: the time from just before the
 * program is started until a top-level window with the given title is mapped. Event-driven, so
 * the resolution is that of the clock, not of a polling interval. Then it ends the program and
 * waits until that window is gone, so that the next start finds the screen as this one did.
 *
 *   map_wait TITLE COMMAND [ARGUMENT...]
 *
 * prints the seconds until the window was mapped, the wall-clock time at which the program was
 * started (seconds since 1970, to compare with the program's own phase marks) and the processor
 * time spent until the map: by the program's threads, and by the processes whose ids the
 * environment variable MAP_WAIT_PIDS lists (the Wine server, the X server), which work for it.
 * On a machine shared with other work the processor time varies far less than the wall time.
 * Without a window it exits 1. The program's standard error is left as it is.
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static int HasTitle(Display* display, Window window, const char* title) {
    char* name = NULL;
    int same = 0;
    if (XFetchName(display, window, &name) && name != NULL) {
        same = strcmp(name, title) == 0;
        XFree(name);
    }
    return same;
}

/* Nanoseconds that a process's threads have run on a processor. */
static double ProcessorSeconds(long pid) {
    char path[64];
    snprintf(path, sizeof(path), "/proc/%ld/task", pid);
    DIR* tasks = opendir(path);
    if (tasks == NULL) {
        return 0;
    }
    double total = 0;
    struct dirent* task;
    while ((task = readdir(tasks)) != NULL) {
        if (task->d_name[0] == '.') {
            continue;
        }
        char file[128];
        snprintf(file, sizeof(file), "/proc/%ld/task/%.20s/schedstat", pid, task->d_name);
        FILE* stat = fopen(file, "r");
        unsigned long long ran = 0;
        if (stat != NULL) {
            if (fscanf(stat, "%llu", &ran) == 1) {
                total += (double)ran / 1e9;
            }
            fclose(stat);
        }
    }
    closedir(tasks);
    return total;
}

/* The processor time of the helpers named in MAP_WAIT_PIDS. */
static double HelperSeconds(void) {
    const char* list = getenv("MAP_WAIT_PIDS");
    double total = 0;
    while (list != NULL && *list != '\0') {
        char* end = NULL;
        const long pid = strtol(list, &end, 10);
        if (end == list) {
            break;
        }
        total += ProcessorSeconds(pid);
        list = end;
    }
    return total;
}

/* The next event, or 0 when none came before the deadline. */
static int NextEvent(Display* display, XEvent* event, double deadline) {
    while (!XPending(display)) {
        const double left = deadline - Now();
        if (left <= 0) {
            return 0;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        struct timeval wait = {(time_t)left, (suseconds_t)((left - (double)(time_t)left) * 1e6)};
        select(ConnectionNumber(display) + 1, &fds, NULL, NULL, &wait);
    }
    XNextEvent(display, event);
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: map_wait TITLE COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const char* title = argv[1];
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "map_wait: no display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    /* Wine creates its top-level X windows as children of the root, titled before they map;
     * a title set after the map is caught by its property change. */
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    struct timespec wall;
    clock_gettime(CLOCK_REALTIME, &wall);
    const double helpersBefore = HelperSeconds();
    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        if (freopen("/dev/null", "w", stdout) == NULL) {
            _exit(127);
        }
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    Window shown = 0;
    double mapped = 0;
    double processor = 0;
    XEvent event;
    while (shown == 0 && NextEvent(display, &event, start + 300)) {
        if (event.type == CreateNotify) {
            XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
        } else if (event.type == MapNotify && HasTitle(display, event.xmap.window, title)) {
            shown = event.xmap.window;
            mapped = Now();
            processor = ProcessorSeconds(child) + HelperSeconds() - helpersBefore;
        } else if (event.type == PropertyNotify && event.xproperty.atom == XA_WM_NAME) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, event.xproperty.window, &attributes) &&
                attributes.map_state == IsViewable &&
                HasTitle(display, event.xproperty.window, title)) {
                shown = event.xproperty.window;
                mapped = Now();
                processor = ProcessorSeconds(child) + HelperSeconds() - helpersBefore;
            }
        }
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    if (shown == 0) {
        fprintf(stderr, "map_wait: %s showed no window titled %s\n", argv[2], title);
        return 1;
    }
    /* The window goes with its process; wait for it, within reason. */
    const double deadline = Now() + 10;
    while (NextEvent(display, &event, deadline)) {
        if ((event.type == UnmapNotify && event.xunmap.window == shown) ||
            (event.type == DestroyNotify && event.xdestroywindow.window == shown)) {
            break;
        }
    }
    printf("%.4f %ld.%06ld %.4f\n", mapped - start, (long)wall.tv_sec, wall.tv_nsec / 1000,
           processor);
    XCloseDisplay(display);
    return 0;
}

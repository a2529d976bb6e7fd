// Starts a program and measures how long its top-level window takes to show.
//
//   first_map [--timeout SECONDS] [--settle-ms MS] [--keep] -- PROGRAM [ARGS...]
//
// Prints one line once the window is drawn and has settled:
//   first_map: map_ms=83.2 drawn_ms=97.5 rss_kb=61234 anon_kb=9876 pid=123 window=0x400007
// then ends the program (SIGTERM), unless --keep leaves it running.
//
// map_ms:  from just before the program is started to the map that makes its
//          window viewable. Under a reparenting window manager that is the map
//          of the frame the client was put into, which comes after the client's
//          own map inside the still unmapped frame; without one it is the
//          client's own map on the root window.
// drawn_ms: to the first drawing into the client window after that map (DAMAGE).
//          Qt's windows have no background of their own, so the map itself
//          draws nothing into them; a window with a background colour would
//          count as drawn by its map.
// rss_kb, anon_kb: VmRSS and RssAnon of the program once no drawing has come
//          for --settle-ms (default 500).
//
// Events are timed as they are read, with no round trip to the server in
// between, and the helper runs at a higher priority where it may (as root), so
// that a busy machine delays the program, not the reading of its map.
//
// Exit status 0 when the window showed, 1 when it did not within the timeout
// (default 60 s) or the program ended first, 2 for a usage error.
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kHelperNiceness = -10;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Options {
    double timeoutSeconds = 60;
    int settleMs = 500;
    bool keep = false;
    std::vector<char*> command;  // null-terminated
};

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--keep") {
            options.keep = true;
        } else if (arg == "--timeout" && i + 1 < argc) {
            options.timeoutSeconds = std::atof(argv[++i]);
        } else if (arg == "--settle-ms" && i + 1 < argc) {
            options.settleMs = std::atoi(argv[++i]);
        } else {
            return std::nullopt;
        }
    }
    if (i >= argc || options.timeoutSeconds <= 0 || options.settleMs < 0) return std::nullopt;
    options.command.assign(argv + i, argv + argc);
    options.command.push_back(nullptr);
    return options;
}

// A field of /proc/PID/status in kB, or -1.
long statusKilobytes(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    }
    return -1;
}

struct Connection {
    xcb_connection_t* c = nullptr;
    ~Connection() {
        if (c != nullptr) xcb_disconnect(c);
    }
};

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// _NET_WM_PID of a window from its get_property reply, or -1 when it has none.
long replyPid(const xcb_get_property_reply_t* reply) {
    if (reply == nullptr || reply->format != 32 || xcb_get_property_value_length(reply) < 4) {
        return -1;
    }
    return static_cast<long>(*static_cast<const std::uint32_t*>(xcb_get_property_value(reply)));
}

// A window that may be the program's: a client put into a frame, or a client
// mapped straight on the root. Its events are timed as they are read, while
// the question whose it is travels to the server and back; so a busy server
// does not delay the times.
struct Candidate {
    xcb_window_t client = XCB_NONE;
    xcb_window_t shown = XCB_NONE;  // the window whose map makes the client viewable
    xcb_damage_damage_t damage = XCB_NONE;
    unsigned pidRequest = 0;  // pending until the reply has come
    bool pidKnown = false;
    bool ours = false;
    std::optional<double> mapMs, drawnMs;
    Clock::time_point lastDrawing{};
};

void endProgram(pid_t pid) {
    kill(pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(20'000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr,
                     "usage: first_map [--timeout SECONDS] [--settle-ms MS] [--keep] -- "
                     "PROGRAM [ARGS...]\n");
        return 2;
    }

    Connection x;
    x.c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x.c)) {
        std::fprintf(stderr, "first_map: cannot connect to the X display\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.c)).data;
    const xcb_query_extension_reply_t* damageExtension =
        xcb_get_extension_data(x.c, &xcb_damage_id);
    if (damageExtension == nullptr || !damageExtension->present) {
        std::fprintf(stderr, "first_map: the X server has no DAMAGE extension\n");
        return 1;
    }
    std::free(xcb_damage_query_version_reply(
        x.c, xcb_damage_query_version(x.c, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));
    const std::uint8_t damageNotify = damageExtension->first_event + XCB_DAMAGE_NOTIFY;
    const xcb_atom_t netWmPid = internAtom(x.c, "_NET_WM_PID");

    // Watch the root's children before the program exists, so no map is missed.
    const std::uint32_t rootEvents = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x.c, screen->root, XCB_CW_EVENT_MASK, &rootEvents);
    xcb_flush(x.c);
    std::free(xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr));  // in effect now

    // A helper that waits for a core reads the map late. It sleeps in poll
    // otherwise; the program gets back our old priority.
    errno = 0;
    const int niceness = getpriority(PRIO_PROCESS, 0);
    const bool niceKnown = errno == 0;
    setpriority(PRIO_PROCESS, 0, kHelperNiceness);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("first_map: fork");
        return 1;
    }
    if (pid == 0) {
        close(xcb_get_file_descriptor(x.c));
        if (niceKnown) setpriority(PRIO_PROCESS, 0, niceness);
        execvp(options->command[0], options->command.data());
        std::fprintf(stderr, "first_map: cannot run %s: %s\n", options->command[0],
                     std::strerror(errno));
        _exit(127);
    }

    std::vector<Candidate> candidates;
    const auto deadline = start + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(options->timeoutSeconds));

    // Starts watching a window: its drawing, and the question of its owner.
    auto watch = [&](xcb_window_t client, xcb_window_t shown) -> Candidate& {
        Candidate& candidate = candidates.emplace_back();
        candidate.client = client;
        candidate.shown = shown;
        candidate.damage = xcb_generate_id(x.c);
        xcb_damage_create(x.c, candidate.damage, client, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        candidate.pidRequest =
            xcb_get_property(x.c, 0, client, netWmPid, XCB_ATOM_CARDINAL, 0, 1).sequence;
        xcb_flush(x.c);
        return candidate;
    };
    auto ours = [&]() -> const Candidate* {
        for (const Candidate& candidate : candidates) {
            if (candidate.ours) return &candidate;
        }
        return nullptr;
    };

    bool failed = false;
    for (;;) {
        const Candidate* found = ours();
        if (found != nullptr && found->drawnMs &&
            std::chrono::duration<double, std::milli>(Clock::now() - found->lastDrawing).count() >=
                options->settleMs) {
            break;
        }
        if (Clock::now() >= deadline) {
            std::fprintf(stderr, "first_map: %s within %.0f s\n",
                         found != nullptr && found->mapMs ? "no drawing into the window"
                                                          : "no window mapped",
                         options->timeoutSeconds);
            failed = true;
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "first_map: the program ended before its window showed\n");
            return 1;
        }
        if (xcb_connection_has_error(x.c)) {
            std::fprintf(stderr, "first_map: lost the X connection\n");
            failed = true;
            break;
        }

        for (Candidate& candidate : candidates) {
            if (candidate.pidKnown) continue;
            void* reply = nullptr;
            xcb_generic_error_t* error = nullptr;
            if (xcb_poll_for_reply(x.c, candidate.pidRequest, &reply, &error) == 0) continue;
            candidate.pidKnown = true;
            candidate.ours =
                replyPid(static_cast<xcb_get_property_reply_t*>(reply)) == static_cast<long>(pid);
            std::free(reply);
            std::free(error);
        }

        xcb_generic_event_t* raw = xcb_poll_for_event(x.c);
        if (raw == nullptr) {
            pollfd fd{xcb_get_file_descriptor(x.c), POLLIN, 0};
            poll(&fd, 1, 20);
            continue;
        }
        const double now = millisecondsSince(start);
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
        const std::uint8_t type = event->response_type & 0x7f;

        if (type == XCB_REPARENT_NOTIFY) {
            // A window manager puts a client into a frame: the frame's map shows it.
            const auto* reparent = reinterpret_cast<const xcb_reparent_notify_event_t*>(raw);
            if (reparent->parent != screen->root && !reparent->override_redirect) {
                watch(reparent->window, reparent->parent);
            }
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(raw);
            if (map->event != screen->root || map->override_redirect) continue;
            bool known = false;
            for (Candidate& candidate : candidates) {
                if (candidate.shown != map->window) continue;
                known = true;
                if (!candidate.mapMs) candidate.mapMs = now;
            }
            // No window manager: a client mapped on the root shows itself.
            if (!known) watch(map->window, map->window).mapMs = now;
        } else if (type == damageNotify) {
            const auto* notify = reinterpret_cast<const xcb_damage_notify_event_t*>(raw);
            for (Candidate& candidate : candidates) {
                if (candidate.damage != notify->damage) continue;
                // Drawing before the window is viewable does not reach the screen.
                if (candidate.mapMs) {
                    if (!candidate.drawnMs) candidate.drawnMs = now;
                    candidate.lastDrawing = Clock::now();
                }
                // Report the next drawing too.
                xcb_damage_subtract(x.c, candidate.damage, XCB_NONE, XCB_NONE);
                xcb_flush(x.c);
            }
        }
    }

    if (!failed) {
        const Candidate& shown = *ours();
        std::printf(
            "first_map: map_ms=%.1f drawn_ms=%.1f rss_kb=%ld anon_kb=%ld pid=%d window=0x%x\n",
            *shown.mapMs, *shown.drawnMs, statusKilobytes(pid, "VmRSS"),
            statusKilobytes(pid, "RssAnon"), static_cast<int>(pid), shown.client);
        std::fflush(stdout);
    }
    for (const Candidate& candidate : candidates) xcb_damage_destroy(x.c, candidate.damage);
    xcb_flush(x.c);
    if (failed || !options->keep) endProgram(pid);
    return failed ? 1 : 0;
}

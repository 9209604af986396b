// How quickly the program shows its window, on a virtual screen of its own (Xvfb): from fork
// and exec, with fresh XDG folders, to the MapNotify of the window whose WM_CLASS names the
// program (Xlib, event-driven), and to the first frame painted (the window no longer one
// colour). Against a minimal Qt program that maps one empty 400×350 widget, in the same run;
// with an empty store and with 1,000 goals. Goal: median ≤ 2× the minimal program, the first
// frame within the same budget.
//
// After the runs, the peak memory (VmHWM) of each program 3 s after its window was mapped.
// Goal: quoril ≤ the minimal program's + 25 MiB.
#include "RatioReporter.h"

#include "App/SharedModelContainer.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"

#include "foundation/Date.h"
#include "store/ModelConfiguration.h"
#include "store/ModelContainer.h"
#include "store/ModelContext.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

std::string displayName;
fs::path scratch;           // this run's temporary folder
fs::path thousandGoals;     // a store file with 1,000 goals, copied into each fresh folder

// A program started with fresh XDG folders, killed when this goes.
struct Launched {
    pid_t pid = -1;
    fs::path home;
    ~Launched() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        std::error_code ignored;
        if (!home.empty()) fs::remove_all(home, ignored);
    }
};

std::unique_ptr<Launched> launch(const std::string& program, bool withGoals) {
    auto launched = std::make_unique<Launched>();
    std::string pattern = (scratch / "home-XXXXXX").string();
    // A null path would crash the path's constructor.
    const char* home = mkdtemp(pattern.data());
    if (!home) return nullptr;
    launched->home = home;
    std::vector<std::string> environment{"DISPLAY=" + displayName, "QT_QPA_PLATFORM=xcb",
                                         "HOME=" + launched->home.string()};
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        const auto folder = launched->home / name;
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::owner_all);
        environment.push_back(std::string(name) + "=" + folder.string());
    }
    if (withGoals) {
        const auto data = launched->home / "XDG_DATA_HOME" / "org.quoril.Quoril";
        fs::create_directories(data);
        fs::copy_file(thousandGoals, data / "default.store");
    }
    if (const char* path = std::getenv("PATH")) environment.push_back(std::string("PATH=") + path);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    launched->pid = fork();
    if (launched->pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execve(program.c_str(), argv, envp.data());
        _exit(127);
    }
    return launched;
}

bool namesProgram(Display* display, Window window, const std::string& name) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) return false;
    const bool match = hint.res_name && name == hint.res_name;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return match;
}

// The next MapNotify of a top-level window of `name`, within 20 s.
std::optional<Window> waitForMap(Display* display, const std::string& name) {
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && namesProgram(display, event.xmap.window, name)) return event.xmap.window;
        }
        pollfd entry{ConnectionNumber(display), POLLIN, 0};
        poll(&entry, 1, 50);
    }
    return std::nullopt;
}

// Whether the window shows more than one colour: something was painted into it.
bool painted(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return false;
    const unsigned long first = XGetPixel(image, 0, attributes.height / 2);
    bool varied = false;
    for (int y = 0; y < attributes.height && !varied; y += 3)
        for (int x = 0; x < attributes.width && !varied; x += 3)
            varied = XGetPixel(image, x, y) != first;
    XDestroyImage(image);
    return varied;
}

struct Display_ {
    Display* display = XOpenDisplay(nullptr);
    Display_() {
        if (display) XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    }
    ~Display_() {
        if (display) XCloseDisplay(display);
    }
};

// One start of `program`; the seconds to its window's map (and to its first frame).
std::optional<double> startOnce(const std::string& program, const std::string& name, bool withGoals, bool toFirstFrame,
                                std::unique_ptr<Launched>* keep = nullptr) {
    Display_ x;
    if (!x.display) return std::nullopt;
    XSync(x.display, False);
    const auto start = Clock::now();
    auto launched = launch(program, withGoals);
    if (!launched) return std::nullopt;
    const auto window = waitForMap(x.display, name);
    if (!window) return std::nullopt;
    if (toFirstFrame) {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (!painted(x.display, *window) && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (keep) *keep = std::move(launched);
    return seconds;
}

void run(benchmark::State& state, const std::string& program, const std::string& name, bool withGoals,
         bool toFirstFrame) {
    for (auto _ : state) {
        const auto seconds = startOnce(program, name, withGoals, toFirstFrame);
        if (!seconds) {
            state.SkipWithError("the window never showed");
            return;
        }
        state.SetIterationTime(*seconds);
    }
}

void BM_MinimalQtProgram(benchmark::State& state) {
    run(state, STARTUP_MINIMAL_PATH, "startup_minimal", false, false);
}
void BM_QuorilEmptyStore(benchmark::State& state) {
    run(state, QUORIL_PATH, "quoril", false, false);
}
void BM_QuorilEmptyStoreFirstFrame(benchmark::State& state) {
    run(state, QUORIL_PATH, "quoril", false, true);
}
void BM_QuorilThousandGoals(benchmark::State& state) {
    run(state, QUORIL_PATH, "quoril", true, false);
}
void BM_QuorilThousandGoalsFirstFrame(benchmark::State& state) {
    run(state, QUORIL_PATH, "quoril", true, true);
}

#define STARTUP(name) BENCHMARK(name)->Iterations(1)->Repetitions(10)->ReportAggregatesOnly()->UseManualTime()->Unit(benchmark::kMillisecond)
STARTUP(BM_MinimalQtProgram);
STARTUP(BM_QuorilEmptyStore);
STARTUP(BM_QuorilEmptyStoreFirstFrame);
STARTUP(BM_QuorilThousandGoals);
STARTUP(BM_QuorilThousandGoalsFirstFrame);

std::string runName(const std::string& benchmark) {
    return benchmark + "/iterations:1/repeats:10/manual_time_median";
}

// Peak resident memory, in MiB, 3 s after the window was mapped.
std::optional<double> peakMemory(const std::string& program, const std::string& name, bool withGoals) {
    std::unique_ptr<Launched> running;
    if (!startOnce(program, name, withGoals, true, &running)) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    std::ifstream status("/proc/" + std::to_string(running->pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    }
    return std::nullopt;
}

void seedThousandGoals() {
    thousandGoals = scratch / "thousand.store";
    store::ModelConfiguration configuration;
    configuration.url = thousandGoals;
    store::ModelContainer container(quoril::quorilSchema(), configuration);
    const auto& context = container.mainContext();
    context->setAutosaveEnabled(false);
    auto collection = std::make_shared<quoril::ItemCollection>("Quoril");
    context->insert(collection);
    for (int i = 0; i < 1000; ++i) {
        auto goal = std::make_shared<quoril::Item>(foundation::Date::now(), "Goal " + std::to_string(i + 1), i % 7 == 0,
                                                   i % 11 == 0, std::nullopt, i);
        goal->setCollection(collection);
        context->insert(goal);
    }
    context->save();
}

} // namespace

int main(int argc, char** argv) {
    std::string pattern = (fs::temp_directory_path() / "startup-bench-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (!made) {
        std::perror("startup_bench: no temporary folder");
        return 1;
    }
    scratch = made;
    // A window of an earlier run may go between its event and the query about it; Xlib's
    // default handler would end the whole run there. The queries report failure instead.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    // A screen of its own.
    int fds[2];
    if (pipe(fds) != 0) return 1;
    const pid_t xvfb = fork();
    if (xvfb == 0) {
        dup2(fds[1], 3);
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x900x24", "-nolisten", "tcp", nullptr);
        _exit(127);
    }
    ::close(fds[1]);
    char number[16] = {};
    const auto got = ::read(fds[0], number, sizeof number - 1);
    if (got <= 0) {
        std::fprintf(stderr, "startup_bench: Xvfb did not start\n");
        return 1;
    }
    displayName = ":" + std::string(number, std::size_t(got)).substr(0, std::string(number).find('\n'));
    setenv("DISPLAY", displayName.c_str(), 1);
    {
        // The goals are seeded with folders of their own, never the real ones.
        setenv("XDG_DATA_HOME", (scratch / "seed").c_str(), 1);
        seedThousandGoals();
    }
    // Warm-ups: libraries and fonts in the page cache for both programs.
    startOnce(STARTUP_MINIMAL_PATH, "startup_minimal", false, false);
    startOnce(QUORIL_PATH, "quoril", true, true);

    const int result = runWithRatios(
        argc, argv,
        {{runName("BM_QuorilEmptyStore"), runName("BM_MinimalQtProgram")},
         {runName("BM_QuorilEmptyStoreFirstFrame"), runName("BM_MinimalQtProgram")},
         {runName("BM_QuorilThousandGoals"), runName("BM_MinimalQtProgram")},
         {runName("BM_QuorilThousandGoalsFirstFrame"), runName("BM_MinimalQtProgram")}});

    const auto minimal = peakMemory(STARTUP_MINIMAL_PATH, "startup_minimal", false);
    const auto empty = peakMemory(QUORIL_PATH, "quoril", false);
    const auto thousand = peakMemory(QUORIL_PATH, "quoril", true);
    if (minimal && empty && thousand) {
        std::printf("VmHWM 3 s after the map: minimal %.1f MiB, quoril %.1f MiB (+%.1f), with 1,000 goals %.1f MiB "
                    "(+%.1f); goal +25 MiB\n",
                    *minimal, *empty, *empty - *minimal, *thousand, *thousand - *minimal);
    }
    ::kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return result;
}

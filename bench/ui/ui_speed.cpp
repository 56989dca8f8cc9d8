// The windows' speed goals, on the offscreen platform:
//   start  from launching the program to its main window painted     (goal 300 ms)
//   Sun    from pressing CmdSun to the report window painted        (goal 50 ms)
// The Moon's report, the longest, is timed the same way for comparison.
//   zerin_ui_speed [RUNS]
// Each start is a new process that opens the main window as `zerin` does and reports
// when it has painted it (zerin_ui_speed --start-child LAUNCH_NS).
#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "FieldNames.h"
#include "FrmMain.h"
#include "Look.h"
#include "QtMessenger.h"

namespace {

using zerin::ui::FrmCalc;
using zerin::ui::FrmMain;

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double Ms(long long ns) {
    return static_cast<double>(ns) / 1e6;
}

// Calls done() once, after the first paint of a watched window has finished.
class FirstPaint : public QObject {
  public:
    FirstPaint(std::function<bool(QObject*)> watched, std::function<void(QObject*)> done)
        : watched_(std::move(watched)), done_(std::move(done)) {}
    void Arm() { armed_ = true; }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (armed_ && event->type() == QEvent::Paint && watched_(object)) {
            armed_ = false;
            QTimer::singleShot(0, object, [this, object] { done_(object); });
        }
        return false;
    }

  private:
    std::function<bool(QObject*)> watched_;
    std::function<void(QObject*)> done_;
    bool armed_ = false;
};

// The child: the start of `zerin` (see RunWindows), up to the main window's first paint.
int StartChild(int argc, char** argv, long long launchedNs) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    zerin::ui::SetUpArabicLook(app);
    zerin::ui::QtMessenger messenger;
    FrmMain window(messenger);
    messenger.SetParent(&window);
    FirstPaint painted([&](QObject* o) { return o == &window; },
                       [&](QObject*) {
                           std::printf("%lld\n", NowNs() - launchedNs);
                           app.quit();
                       });
    painted.Arm();
    window.installEventFilter(&painted);
    window.show();
    return app.exec();
}

struct Summary {
    double first, median, max;
};

Summary Summarise(std::vector<double> ms) {
    const double first = ms.front();
    std::vector<double> rest(ms.begin() + (ms.size() > 1 ? 1 : 0), ms.end());
    std::sort(rest.begin(), rest.end());
    return {first, rest[rest.size() / 2], rest.back()};
}

std::optional<double> OneStart(const QString& self) {
    QProcess child;
    const long long launched = NowNs();
    child.start(self, {QStringLiteral("--start-child"), QString::number(launched)});
    if (!child.waitForFinished(10000) || child.exitCode() != 0) return std::nullopt;
    bool ok = false;
    const long long ns = child.readAllStandardOutput().trimmed().toLongLong(&ok);
    if (!ok) return std::nullopt;
    return Ms(ns);
}

// Times one command button: press to the report window's first paint, then closes it.
std::vector<double> TimeCommand(FrmMain& window, const char* button, int runs) {
    long long shown = 0;
    FirstPaint painted([](QObject* o) { return qobject_cast<FrmCalc*>(o) != nullptr; },
                       [&](QObject* o) {
                           shown = NowNs();
                           static_cast<FrmCalc*>(o)->reject();
                       });
    qApp->installEventFilter(&painted);
    auto* command = window.findChild<QPushButton*>(QLatin1String(button));
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        painted.Arm();
        const long long pressed = NowNs();
        command->click();  // returns when the modal report window is closed
        times.push_back(Ms(shown - pressed));
    }
    qApp->removeEventFilter(&painted);
    return times;
}

void Print(const char* what, const Summary& s, double goal, const char* firstName) {
    std::printf("%-34s %s %7.1f ms   median %7.1f ms   max %7.1f ms   goal %3.0f ms  %s\n", what,
                firstName, s.first, s.median, s.max, goal,
                std::max(s.first, s.max) <= goal ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--start-child")
        return StartChild(argc, argv, std::atoll(argv[2]));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 20;

    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    zerin::ui::SetUpArabicLook(app);

    std::vector<double> starts;
    for (int run = 0; run < runs; ++run) {
        const std::optional<double> ms = OneStart(QCoreApplication::applicationFilePath());
        if (!ms) {
            std::fprintf(stderr, "the start-up child failed\n");
            return 1;
        }
        starts.push_back(*ms);
    }

    zerin::ui::QtMessenger messenger;
    FrmMain window(messenger);
    messenger.SetParent(&window);
    zerin::ui::ShowReferenceInstant(window);
    // The first press comes at once, before the window has prepared the report window:
    // the worst case, with every font and style still to load in this process.
    window.show();
    const std::vector<double> sun = TimeCommand(window, "CmdSun", runs);
    const std::vector<double> moon = TimeCommand(window, "CmdPln0", runs);

    std::printf("%d runs each, platform %s\n", runs, qPrintable(QGuiApplication::platformName()));
    Print("start to main window painted", Summarise(starts), 300, "first");
    Print("CmdSun to report painted", Summarise(sun), 50, "cold ");
    std::printf("(the cold press comes right after show(), before any event is processed)\n");
    Print("CmdPln0 (Moon) to report painted", Summarise(moon), 50, "first");
    return 0;
}

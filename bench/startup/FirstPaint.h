#pragma once

// What the start-up benchmarks print: the moment a window is first painted, measured from the
// process's start and from main(), and the peak memory by then.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

#include <unistd.h>

namespace sw::bench {

// Peak resident memory of this process in KiB (VmHWM), or -1 where /proc is not there.
inline long peakMemoryKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// The wall clock in nanoseconds since the epoch, so a script can measure from before the launch.
inline long long realtimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Milliseconds since the kernel started this process (/proc/self/stat starttime, in clock ticks,
// so only to the tick: 10 ms on most systems), or -1.
inline double msSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may hold blanks; the fields after it start past its closing parenthesis.
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    // Field 3 (the state) comes first after it; starttime is field 22.
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    if (!fields)
        return -1;
    const double starttime = std::strtod(field.c_str(), nullptr);
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double nowMs = static_cast<double>(boot.tv_sec) * 1e3 + static_cast<double>(boot.tv_nsec) / 1e6;
    return nowMs - starttime * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Watches for the first paint of the top-level window named `name` (any of its widgets), prints
// the figures under `label` and calls `then` once the paint is done.
class FirstPaint : public QObject {
public:
    FirstPaint(const char* label, QString name, QElapsedTimer& sinceMain, std::function<void()> then)
        : m_label(label), m_name(std::move(name)), m_sinceMain(sinceMain), m_then(std::move(then)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->objectName() == m_name) {
            m_seen = true;
            const double fromMain = static_cast<double>(m_sinceMain.nsecsElapsed()) / 1e6;
            std::printf("%s_paint_realtime_ns %lld\n%s_ms_from_main %.2f\n%s_ms_from_process_start %.0f\n"
                        "%s_vmhwm_kib %ld\n",
                        m_label, realtimeNs(), m_label, fromMain, m_label, msSinceProcessStart(), m_label,
                        peakMemoryKib());
            std::fflush(stdout);
            // After the paint in hand has finished.
            QTimer::singleShot(0, this, m_then);
        }
        return false;
    }

private:
    const char* m_label;
    QString m_name;
    QElapsedTimer& m_sinceMain;
    std::function<void()> m_then;
    bool m_seen = false;
};

} // namespace sw::bench

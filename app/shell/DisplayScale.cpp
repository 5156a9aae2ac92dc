#include "app/shell/DisplayScale.h"

#include "app/shell/MainWindowControls.h"
#include "app/widgets/Twips.h"
#include "app/logging/AppLogging.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>

namespace caltrix {
namespace {

constexpr char kQtScaleFactor[] = "QT_SCALE_FACTOR";
// The factor that fits, handed to the new start, which then measures nothing again.
constexpr char kFitMeasured[] = "CALTRIX_FIT_MEASURED";

QByteArray number(double factor) { return QByteArray::number(factor, 'f', 4); }

// Qt scales from 1 up; below 1 the program shrinks its layout itself.
// Returns the layout's share.
double splitScale(double factor) {
    if (factor >= 1.0) {
        qputenv(kQtScaleFactor, number(factor));
        return 1.0;
    }
    qunsetenv(kQtScaleFactor);
    return factor;
}

// The primary screen's size in the units the design will be laid out in.
QSize measureScreen(char* program) {
    int argc = 1;
    char* argv[] = {program, nullptr};
    const QGuiApplication probe(argc, argv);
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

std::set<int> openDescriptors() {
    std::set<int> descriptors;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error))
        descriptors.insert(std::stoi(entry.path().filename().string()));
    return descriptors;
}

// The connections the first start opened (display, session bus) are not
// handed on to the new start. Those the program was started with are: cage,
// for one, takes the end of its pipe closing as the program having ended.
void closeOnExecAllBut(const std::set<int>& inherited) {
    for (const int descriptor : openDescriptors())
        if (inherited.count(descriptor) == 0) ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
}

void restartWithFitScale(char** argv) {
    const std::set<int> inherited = openDescriptors();
    const QSize screen = measureScreen(argv[0]);
    if (screen.isEmpty()) {
        qCWarning(lcShell) << "no screen to fit the display to; it stays at scale 1";
        return;
    }
    bool set = false;
    const double current = qEnvironmentVariable(kQtScaleFactor).toDouble(&set);
    const double factor = FitFactor(screen, DesignSize()) * (set && current > 0 ? current : 1.0);
    qCInfo(lcShell).nospace() << "scale " << factor << " fits the display to the " << screen.width() << "x"
                              << screen.height() << " screen";
    qputenv(kFitMeasured, number(factor));
    std::fflush(nullptr);
    closeOnExecAllBut(inherited);
    ::execv("/proc/self/exe", argv);
    qCWarning(lcShell) << "cannot start anew with the scale that fits:" << std::strerror(errno)
                       << "- the display stays at scale 1";
    qunsetenv(kFitMeasured);
}

}  // namespace

double FitFactor(const QSize& screen, const QSize& design) {
    const double factor = std::min(static_cast<double>(screen.width()) / design.width(),
                                   static_cast<double>(screen.height()) / design.height());
    return std::floor(factor * 100) / 100;
}

void ApplyLayoutScale(double factor) {
    SetLayoutScale(factor);
    QFont font = QGuiApplication::font();
    if (factor == 1.0 || font.pointSizeF() <= 0) return;
    font.setPointSizeF(LayoutPoints(font.pointSizeF()));
    QGuiApplication::setFont(font);
}

double PrepareScale(const DesignScale& scale, char** argv) {
    if (!scale.given) return 1.0;
    if (!scale.fit) return splitScale(scale.factor);
    bool measured = false;
    const double fit = qEnvironmentVariable(kFitMeasured).toDouble(&measured);
    if (measured && fit > 0) return splitScale(fit);
    restartWithFitScale(argv);
    return 1.0;
}

}  // namespace caltrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root of korvane: builds the desktop backends and the main window.
#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/button_binding.h"
#include "app/command_line_info.h"
#include "app/instance_channel.h"
#include "app/korvane_program.h"
#include "app/signal_watch.h"
#include "platform/posix/clock_random.h"
#include "platform/posix/host_registry.h"
#include "platform/posix/lazy_nts_crypto.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_environment.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_os_version.h"
#include "platform/posix/posix_process.h"
#include "platform/qt/font_config_warm_up.h"
#include "platform/qt/qt_background.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_form_hosts.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_locale.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_pickers.h"
#include "platform/qt/qt_pointer_probe.h"
#include "platform/qt/qt_second_beat.h"
#include "platform/qt/qt_shell.h"
#include "platform/qt/qt_shell_open.h"
#include "platform/qt/qt_socket.h"
#include "platform/qt/qt_system_colours.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/qt/qt_wake_signals.h"
#include "platform/qt/qt_windows.h"
#include "platform/qt/timedate_service.h"
#include "shell/nxo_krv.h"
#include "shell/product.h"

namespace {

// The exit status of a build with a control kind it cannot show (a software fault).
constexpr int kUnhostableExit = 70;

bool debugLogging() {
  const char* v = std::getenv("KORVANE_DEBUG");
  return v && std::string(v) == "1";
}

// Qt's own messages go to standard error only when asked for; never to standard output.
void debugMessageHandler(QtMsgType, const QMessageLogContext&, const QString& message) {
  fprintf(stderr, "korvane: %s\n", qPrintable(message));
}
void quietMessageHandler(QtMsgType, const QMessageLogContext&, const QString&) {}

// The clocks place their own windows, which Wayland does not allow: where a Wayland session also
// runs XWayland, use it (unless the user chose a platform).
void preferXWayland() {
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
  if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
    return;
  qputenv("QT_QPA_PLATFORM", "xcb");
}

// Each flush through a shared-memory image waits for the X server's reply before the next
// paint: with the clocks' redraw every second that is two more wake-ups a second. The windows
// are small, so their pixels go over the connection instead (unless the user chose).
void flushWithoutRoundTrip() {
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace korvane;
  const std::vector<std::string> args(argv + 1, argv + argc);
  // Answered before Qt starts, so they work without a display and never touch a running instance.
  if (const auto info = app::commandLineInfo(
          args, shell::versionString(KORVANE_VERSION_MAJOR, KORVANE_VERSION_MINOR,
                                     KORVANE_VERSION_PATCH))) {
    std::fputs(info->c_str(), stdout);
    return 0;
  }
  const bool debug = debugLogging();
  qInstallMessageHandler(debug ? debugMessageHandler : quietMessageHandler);
  preferXWayland();
  flushWithoutRoundTrip();
  platform::FontConfigWarmUp fonts;
  QApplication app(argc, argv);
  fonts.finish();
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationName(QStringLiteral("korvane"));
  QGuiApplication::setDesktopFileName(QStringLiteral("korvane"));  // the installed menu entry
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));

  platform::PosixEnvironment environment(
      args, platform::PosixEnvironment::besideProgram(KORVANE_DATA_DIR_FROM_BINARY),
      platform::PosixEnvironment::besideProgram(KORVANE_BUILD_DATA_FROM_BINARY));
  platform::TimedateService timeService;  // where the process may not set the clock itself
  const std::unique_ptr<platform::SystemClock> clock = platform::makeSystemClock(&timeService);
  platform::QtEventLoop events;
  platform::QtLocale locale;
  platform::ClockRandom random;
  platform::QtSocketFactory sockets;
  // NTS: TLS and its key export by GnuTLS, the AEAD on Nettle, in a module loaded on first use
  // (installed, else the build tree's); KORVANE_NTS_CA_FILE names certificates to trust instead of
  // the system's (private servers, the tests).
  platform::QtBackgroundWork background;
  platform::LazyNtsCrypto ntsCrypto(
      {platform::PosixEnvironment::besideProgram(KORVANE_NTS_MODULE_FROM_BINARY),
       platform::PosixEnvironment::besideProgram(KORVANE_BUILD_NTS_FROM_BINARY)});
  const char* ntsCa = std::getenv("KORVANE_NTS_CA_FILE");
  sync::NtsKeyring nts(ntsCrypto.tls(), ntsCrypto.siv(), ntsCrypto.random(), background,
                       ntsCa ? ntsCa : "");
  platform::PosixProcessLauncher launcher;
  platform::QtShell shell(environment.programFolder(), launcher);
  platform::QtTextRenderer text;
  platform::QtSystemColours colours;
  platform::QtShellOpen links;
  platform::QtPointerProbe pointer;
  const controls::ButtonServices buttons{&text, &colours, &links, &pointer, &events, nullptr};

  platform::QtMessageBoxes boxes;
  platform::PosixFiles files(environment.programFolder(), environment.userDataFolder());
  platform::PosixOsVersion osVersion;
  // The settings hive: KORVANE_REGISTRY, else the user's configuration folder.
  const std::unique_ptr<platform::RegistryStore> store = platform::makeRegistry(*clock);
  platform::ControlBindings bindings = platform::ControlBindings::standard();
  app::addButtonBinding(bindings);
  platform::SecondBeat beat(*clock);  // one wake-up for the tick and both clocks' redraws
  platform::QtFormHosts hosts(environment.programFolder(), std::move(bindings), &colours, &beat);
  platform::QtWindows windows(&hosts);
  platform::QtPickers pickers(&hosts);
  platform::QtImages images;

  app::KorvaneProgram program({{*clock, events, locale, random, sockets},
                               {shell, windows, environment, KORVANE_VERSION_MAJOR,
                                KORVANE_VERSION_MINOR, KORVANE_VERSION_PATCH, buttons},
                               hosts,
                               *store,
                               boxes,
                               files,
                               osVersion,
                               pickers,
                               images,
                               launcher,
                               sync::steadyMillis(),
                               &nts});
  shell::NXO_KRV& window = program.mainWindow();

  // With KORVANE_DEBUG=1 the status line of the clock box goes to standard error on each change,
  // so a run without a screen reader can see what the window tells the user.
  std::string loggedStatus;
  if (debug)
    window.Current.Change.connect([&window, &loggedStatus] {
      const std::string& shown = window.Current.text();
      const size_t lineEnd = shown.find("\r\n");
      const std::string status = lineEnd == std::string::npos ? "" : shown.substr(lineEnd + 2);
      if (status == loggedStatus) return;
      loggedStatus = status;
      fprintf(stderr, "korvane: status: %s\n", status.c_str());
    });
  window.Closed.connect([&app, &window, debug] {
    if (debug) fprintf(stderr, "korvane: shut-down complete, unload mode %d\n", window.unloadMode);
    QMetaObject::invokeMethod(
        &app, [] { QApplication::quit(); }, Qt::QueuedConnection);
  });
  app::SignalWatch signalWatch([&window] { window.unload(ui::kCloseForSessionEnd); });
  // A checkpoint or a logout that may yet be cancelled: save, and run on.
  QObject::connect(&app, &QGuiApplication::commitDataRequest,
                   [&window](QSessionManager&) { window.sessionCheckpoint(); });

  const std::string instanceSocket = platform::PosixEnvironment::instanceSocketPath();
  if (!program.start()) {
    // A second start shows the running instance's window instead of a window of its own.
    if (window.secondInstance && app::wantsWindow(args)) app::askToShow(instanceSocket);
    return 0;
  }
  app::InstanceListener instance(instanceSocket, [&window] {
    if (window.loaded()) window.mnuShow_Click();
  });
  // Once the loop runs: the system bus and the network backend cost the start nothing.
  std::unique_ptr<platform::QtWakeSignals> wake;
  QTimer::singleShot(0, &app, [&wake, &window, &program] {
    // A control kind this build cannot show ends the run here, before any window opens with it.
    if (const std::string unhostable = program.unhostableWindow(); !unhostable.empty()) {
      fprintf(stderr, "korvane: %s\n", unhostable.c_str());
      QApplication::exit(kUnhostableExit);
      return;
    }
    wake = std::make_unique<platform::QtWakeSignals>([&window] { window.wake.seen(); });
  });
  const int status = app.exec();
  window.unload(ui::kCloseForSessionEnd);  // a quit from elsewhere still saves
  // Scripts and autostart tell a run-once that left the clock unsynchronised by its status.
  if (window.runOnce && !window.clockSynchronised()) return EXIT_FAILURE;
  return status;
}

// Responsiveness benchmark: the longest time the window's thread goes without
// handling an event while a command runs, measured with the real Qt event loop
// (offscreen unless a display is given) and a 1 ms timer whose gaps are
// recorded. Each case runs against the device emulator on pseudo-terminals:
//   1. a GSM read from a device that never answers (the 120-byte read's time-out),
//   2. a search over five silent ports before the device on the sixth,
//   3. a calibration write to a device that takes its bytes at 9600 baud,
//   4. a GSM read whose port open the driver holds for 2 s (SerialPort's
//      beforeOpen seam sleeps on the opening thread).
// Each case also runs with the port steps inline on the window's thread, as
// they ran before, for comparison.
// Usage: bench_responsiveness            prints the figures
//        bench_responsiveness --hold-read  loops silent GSM reads (for a screenshot)
//        bench_responsiveness --close-during-search  the whole program, closed mid-search
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AppContext.h"
#include "DeviceEmulator.h"
#include "Handlers.h"
#include "Look.h"
#include "PortMap.h"
#include "SerialPort.h"
#include "Session.h"
#include "ShellHandlers.h"
#include "StartUp.h"
#include "Unit1.h"

namespace {

using namespace tacho;

constexpr double kGoalMs = 20.0;

// The window as it was: every port step on the window's own thread.
class InlineStepsForm : public TForm1 {
 public:
  void RunBlocking(const std::function<void()>& step) override { step(); }
};

struct TempFolder {
  std::string path;
  TempFolder() {
    char name[] = "/tmp/tacho-bench-ui-XXXXXX";
    if (!::mkdtemp(name)) std::abort();
    path = name;
  }
  ~TempFolder() {
    for (int n = 1; n <= kPortCount; ++n) ::unlink((path + "/COM" + std::to_string(n)).c_str());
    ::rmdir(path.c_str());
  }
};

// Records the gaps between the ticks of a 1 ms timer: a tick that comes late
// means the window's thread handled no event meanwhile.
class GapMeter {
 public:
  GapMeter() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      gapsNs_.push_back(now - lastNs_);
      lastNs_ = now;
    });
  }
  void Start() {
    gapsNs_.clear();
    clock_.start();
    lastNs_ = 0;
    timer_.start();
  }
  void Stop() {
    timer_.stop();
    gapsNs_.push_back(clock_.nsecsElapsed() - lastNs_);  // the time from the last tick to now
    std::sort(gapsNs_.begin(), gapsNs_.end());
  }
  double LongestMs() const { return gapsNs_.back() / 1e6; }
  // The gap that 99 % of the gaps do not exceed.
  double P99Ms() const { return gapsNs_[gapsNs_.size() * 99 / 100] / 1e6; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 lastNs_ = 0;
  std::vector<qint64> gapsNs_;
};

// Answers each modal box with OK, as the user would, and keeps its text.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isVisible()) {
        texts.push_back(box->text().toStdString());
        box->button(QMessageBox::Ok)->click();
      }
    });
    timer_.start();
  }
  std::vector<std::string> texts;

 private:
  QTimer timer_;
};

struct Case {
  const char* name = "";
  // Devices on COM 1.. with their fault; pacing for all of them.
  std::vector<emu::Fault> devices{};
  bool pacing = false;
  int portIndex = 0;
  Handler handler = Handler::None;
  int holdOpenMs = 0;
  std::function<void(IForm&)> entries{};
  const char* expectedBox = "";
};

struct Result {
  double longestGapMs = 0;
  double p99GapMs = 0;
  double wallMs = 0;
  bool boxAsExpected = false;
};

template <typename Form>
Result RunCase(const Case& c) {
  TempFolder folder;
  std::vector<std::unique_ptr<emu::DeviceEmulator>> devices;
  for (std::size_t i = 0; i < c.devices.size(); ++i) {
    emu::EmulatorOptions o;
    o.portFolder = folder.path;
    o.comNumber = static_cast<int>(i) + 1;
    o.fault = c.devices[i];
    o.realisticPacing = c.pacing;
    devices.push_back(std::make_unique<emu::DeviceEmulator>(o));
  }
  Session session;
  session.PortIndex = c.portIndex;
  SerialPort port(PortMap(folder.path, {}));
  if (c.holdOpenMs > 0) {
    port.beforeOpen = [ms = c.holdOpenMs](int) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  }
  Form form;
  if (c.handler == Handler::Read_GSM_ButtonClick) {
    form.Pages()->setCurrentIndex(1);
    sPageControl1Change(form);
  }
  if (c.entries) c.entries(form);
  form.show();
  AppContext app{form, session, port};
  BoxAnswerer boxes;
  QApplication::processEvents();

  GapMeter meter;
  QElapsedTimer wall;
  meter.Start();
  wall.start();
  RunNamedHandler(c.handler, app);
  Result r;
  r.wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
  meter.Stop();
  r.longestGapMs = meter.LongestMs();
  r.p99GapMs = meter.P99Ms();
  r.boxAsExpected = std::strlen(c.expectedBox) == 0
                        ? boxes.texts.empty()
                        : boxes.texts == std::vector<std::string>{c.expectedBox};
  return r;
}

void TypeCalibrationEntries(IForm& form) {
  form.SetText(ControlId::sEdit_VIN, u"WDB9634031L123456");
  form.SetText(ControlId::sEdit_VRN, u"A123BC77");
  form.SetText(ControlId::sEdit_W, u"8000");
  form.SetText(ControlId::sEdit_L, u"3000");
  form.SetText(ControlId::sEdit_typeSize, u"315/80R22.5");
  form.SetText(ControlId::sEdit_speed, u"90");
  form.SetText(ControlId::sEdit_odometer, u"1234");
}

std::vector<Case> Cases() {
  using emu::Fault;
  return {
      {.name = "GSM read, silent device",
       .devices = {Fault::Silent},
       .handler = Handler::Read_GSM_ButtonClick,
       .expectedBox = "Произошла ошибка, повторите попытку."},
      {.name = "search: 5 silent ports, then the device",
       .devices = {Fault::Silent, Fault::Silent, Fault::Silent, Fault::Silent, Fault::Silent, Fault::None},
       .handler = Handler::Search_ButtonClick,
       .expectedBox = "Устройство обнаружено"},
      {.name = "calibration write, 200 bytes at 9600 baud",
       .devices = {Fault::None},
       .pacing = true,
       .handler = Handler::Write_Kalibr_ButtonClick,
       .entries = TypeCalibrationEntries,
       .expectedBox = "Данные успешно записаны"},
      {.name = "GSM read, open held 2 s by the driver",
       .devices = {Fault::None},
       .handler = Handler::Read_GSM_ButtonClick,
       .holdOpenMs = 2000,
       .expectedBox = ""},
  };
}

// Loops silent GSM reads for `seconds`, so that a screenshot can be taken mid-read.
int HoldRead(int seconds) {
  TempFolder folder;
  emu::EmulatorOptions o;
  o.portFolder = folder.path;
  o.comNumber = 1;
  o.fault = emu::Fault::Silent;
  emu::DeviceEmulator device(o);
  Session session;
  SerialPort port(PortMap(folder.path, {}));
  TForm1 form;
  form.Pages()->setCurrentIndex(1);
  sPageControl1Change(form);
  form.ShowCentred();
  AppContext app{form, session, port};
  BoxAnswerer boxes;
  // Once a second, in the middle of whatever the command is doing: what it shows.
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (QApplication::activeModalWidget()) return;
    const QCursor* cursor = QApplication::overrideCursor();
    std::printf("mid-read: cursor %s, \"Считать\" %s\n", cursor && cursor->shape() == Qt::WaitCursor ? "busy" : "normal",
                form.IsEnabled(ControlId::Read_GSM_Button) ? "enabled" : "disabled");
    std::fflush(stdout);
  });
  look.start(1000);
  QElapsedTimer wall;
  wall.start();
  while (wall.elapsed() < seconds * 1000LL) RunNamedHandler(Handler::Read_GSM_ButtonClick, app);
  return 0;
}

// The whole program: start-up as the user starts it, a search clicked, the window
// closed during its probe wait. Prints how long the program took to end after the
// close, and how many boxes it showed after the close.
int CloseDuringSearch(int argc, char** argv) {
  TempFolder runtime;
  ::setenv("XDG_RUNTIME_DIR", runtime.path.c_str(), 1);
  emu::EmulatorOptions o;
  o.portFolder = PortMap::DefaultFolder();
  o.comNumber = 1;
  o.fault = emu::Fault::Silent;
  emu::DeviceEmulator device(o);
  QElapsedTimer sinceClose;
  int boxesAfterClose = 0;
  RunTool(argc, argv, [&](TForm1& form) {
    auto* poll = new QTimer(&form);
    QObject::connect(poll, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isVisible()) {
        if (sinceClose.isValid()) ++boxesAfterClose;
        box->button(QMessageBox::Ok)->click();
      }
    });
    poll->start(5);
    QTimer::singleShot(50, &form, [&form] { form.Button(ControlId::Search_Button)->click(); });
    // The click's handler runs in this timer's event; the close comes during its wait.
    QTimer::singleShot(150, &form, [&] {
      sinceClose.start();
      form.close();
    });
  });
  std::printf("close during a search (whole program): ended %lld ms after the close, %d boxes after it\n",
              static_cast<long long>(sinceClose.isValid() ? sinceClose.elapsed() : -1), boxesAfterClose);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--close-during-search") == 0) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return CloseDuringSearch(argc, argv);
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  QApplication app(argc, argv);
  QTranslator russian;
  InstallRussianTexts(app, russian);
  ApplyLook(app);
  if (argc > 1 && std::strcmp(argv[1], "--hold-read") == 0) return HoldRead(argc > 2 ? std::atoi(argv[2]) : 20);

  std::printf("bench_responsiveness: longest time the window's thread handles no event (1 ms timer, %s)\n",
              QGuiApplication::platformName().toStdString().c_str());
  std::printf("%-44s %12s %9s %9s   %16s %9s\n", "", "longest gap", "p99 gap", "wall", "steps inline: gap",
              "wall");
  int missed = 0;
  for (const Case& c : Cases()) {
    const Result off = RunCase<TForm1>(c);
    const Result inl = RunCase<InlineStepsForm>(c);
    const bool ok = off.longestGapMs <= kGoalMs && off.boxAsExpected;
    if (!ok) ++missed;
    std::printf("%-44s %9.1f ms %6.1f ms %6.0f ms   %13.1f ms %6.0f ms  goal <= %.0f ms  %s%s\n", c.name,
                off.longestGapMs, off.p99GapMs, off.wallMs, inl.longestGapMs, inl.wallMs, kGoalMs, ok ? "ok" : "MISSED",
                off.boxAsExpected && inl.boxAsExpected ? "" : " (unexpected box)");
  }
  std::printf("%s\n", missed == 0 ? "all goals met" : "some goals missed");
  return 0;
}

// How long the main window's thread stalls while the window writes a book as a PDF or DOCX: a
// 10 ms timer ticks throughout, and the longest gap between two ticks is the longest time the
// window could not answer a key or draw. Two ways are measured side by side, on the same text:
//
//   sync   the document read and written on the window's thread, as the export did before
//          (ReadHandout, then WriteHandout, called from the event loop)
//   async  the window's own export (File ▸ 导出PDF…, the name choosing the format), which writes
//          on a thread of the pool and reports back
//   pool   the sync way's work on a thread of the pool, the window's thread waiting for it: the
//          cost of the other thread alone, without the event loop running beside it
//
//   tolvane-export-stall [--chars N] [--runs N] [--source FILE]
//
// The text is build/bin/sample.txt (beside this program) repeated to N characters (250,000 by
// default) unless --source names one. Prints one line per format and way: the longest gap and the
// time to the written file, the best of the runs for each.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStringList>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "documents/Handout.h"
#include "documents/PageDesign.h"
#include "reading/LineReadings.h"
#include "ui/Dialogs.h"
#include "ui/DocumentExportJob.h"
#include "ui/HandoutExport.h"
#include "ui/QtText.h"
#include "ui/Startup.h"
#include "ui/TfrmMain.h"

namespace {

using tolvane::TfrmMain;

// Answers the export's save dialog with the target, declines to open the written file, and
// stops the run at any error.
class BenchDialogs : public tolvane::Dialogs {
 public:
  QString target;
  bool failed = false;
  bool Confirm(QWidget*, const QString&) override { return false; }
  void Message(QWidget*, const QString& text) override { Fail(text); }
  void Error(QWidget*, const QString& text) override { Fail(text); }
  QString OpenFileName(QWidget*, const QString&, const QString&) override { return QString(); }
  QString SaveFileName(QWidget*, const QString&, const QString&) override { return target; }
  void OpenUrl(const QUrl&) override {}
  void PrintPreview(QWidget*, const std::function<void(QPagedPaintDevice&)>&) override {}

 private:
  void Fail(const QString& what) {
    std::fprintf(stderr, "tolvane-export-stall: %s\n", what.toLocal8Bit().constData());
    failed = true;
  }
};

// Ticks every 10 ms and keeps the longest gap between ticks (and from the start to the first).
class StallMeter {
 public:
  StallMeter() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.setTimerType(Qt::PreciseTimer);
  }
  void Start() {
    longest_ = 0;
    clock_.start();
    last_ = 0;
    timer_.start(10);
  }
  double StopMs() {
    Tick();
    timer_.stop();
    return static_cast<double>(longest_) / 1e6;
  }

 private:
  void Tick() {
    const qint64 now = clock_.nsecsElapsed();
    longest_ = std::max(longest_, now - last_);
    last_ = now;
  }
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 longest_ = 0;
};

struct Measure {
  double stallMs = 0;
  double totalMs = 0;
};

// Runs the event loop until `done` says so, sleeping between events (the meter's ticks come
// every 10 ms) rather than spinning beside the worker.
void RunUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The sync way's work, on the calling thread or (`onPool`) on a thread of the pool waited for.
Measure Sync(TfrmMain& window, const std::filesystem::path& source,
             const std::filesystem::path& target, bool onPool = false) {
  StallMeter meter;
  QElapsedTimer total;
  bool finished = false;
  meter.Start();
  total.start();
  // After a few ticks, from the event loop, as the export's click handler ran.
  QTimer::singleShot(50, [&] {
    const auto write = [data = window.ReadingSession().Data(), settings = window.CurrentSettings(),
                        &source, &target] {
      tolvane::LineReadings readings(data);
      const tolvane::PageDesign design;
      tolvane::WriteHandout(ReadHandout(readings, source, settings, design), design, target);
    };
    if (onPool) {
      QtConcurrent::run(write).waitForFinished();
    } else {
      write();
    }
    finished = true;
  });
  RunUntil([&] { return finished; });
  Measure measure;
  measure.totalMs = static_cast<double>(total.nsecsElapsed()) / 1e6 - 50;
  QElapsedTimer settle;
  settle.start();
  RunUntil([&] { return settle.elapsed() > 100; });
  measure.stallMs = meter.StopMs();
  return measure;
}

Measure Async(TfrmMain& window, BenchDialogs& dialogs, const std::filesystem::path& target) {
  dialogs.target = tolvane::QStringFromPath(target);
  StallMeter meter;
  QElapsedTimer total;
  meter.Start();
  total.start();
  bool started = false;
  QTimer::singleShot(50, [&] {
    window.N_pdfClick();
    started = true;
  });
  RunUntil([&] { return started && !window.DocumentJob().Running(); });
  Measure measure;
  measure.totalMs = static_cast<double>(total.nsecsElapsed()) / 1e6 - 50;
  QElapsedTimer settle;
  settle.start();
  RunUntil([&] { return settle.elapsed() > 100; });
  measure.stallMs = meter.StopMs();
  return measure;
}

// `sample` repeated to at least `characters` characters, as UTF-8.
std::string RepeatedText(const std::filesystem::path& sample, std::size_t characters) {
  std::ifstream in(sample, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const QString text = tolvane::QStringFromGb(bytes);
  const std::size_t each = static_cast<std::size_t>(text.toUcs4().size());
  if (each == 0) return std::string();
  QString whole;
  std::size_t count = 0;
  while (count < characters) {
    whole += text;
    if (!whole.endsWith(QLatin1Char('\n'))) whole += QStringLiteral("\r\n");
    count += each;
  }
  return whole.toStdString();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  std::size_t characters = 250000;
  int runs = 3;
  std::optional<std::filesystem::path> sourceGiven;
  for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
    if (arguments[i] == QLatin1String("--chars")) {
      characters = arguments[i + 1].toULongLong();
    } else if (arguments[i] == QLatin1String("--runs")) {
      runs = std::max(1, arguments[i + 1].toInt());
    } else if (arguments[i] == QLatin1String("--source")) {
      sourceGiven = tolvane::PathFromQString(arguments[i + 1]);
    } else {
      std::fprintf(stderr, "usage: tolvane-export-stall [--chars N] [--runs N] [--source FILE]\n");
      return 2;
    }
  }
  const std::filesystem::path programFolder =
      tolvane::PathFromQString(QCoreApplication::applicationDirPath());
  const std::filesystem::path work =
      std::filesystem::temp_directory_path() /
      ("tolvane-export-stall-" + std::to_string(QCoreApplication::applicationPid()));
  std::filesystem::create_directories(work);
  std::filesystem::path source = work / "book.txt";
  if (sourceGiven) {
    source = *sourceGiven;
  } else {
    const std::string text = RepeatedText(programFolder / "sample.txt", characters);
    if (text.empty()) {
      std::fprintf(stderr, "tolvane-export-stall: no sample.txt beside the program\n");
      return 1;
    }
    std::ofstream(source, std::ios::binary) << text;
  }

  BenchDialogs dialogs;
  const std::unique_ptr<TfrmMain> window = tolvane::StartMainWindow(dialogs, programFolder);
  if (!window || dialogs.failed) return 1;
  window->findChild<QLineEdit*>(QStringLiteral("edtChfile"))
      ->setText(tolvane::QStringFromPath(source));

  std::printf("%-5s %-6s %14s %14s\n", "what", "way", "longest stall", "to the file");
  for (const char* extension : {".pdf", ".docx"}) {
    Measure bestSync{1e18, 1e18};
    Measure bestAsync{1e18, 1e18};
    Measure bestPool{1e18, 1e18};
    for (int run = 0; run < runs; ++run) {
      const std::filesystem::path target = work / (std::string("book") + extension);
      const Measure sync = Sync(*window, source, target);
      const Measure async = Async(*window, dialogs, target);
      const Measure pool = Sync(*window, source, target, true);
      bestPool = {std::min(bestPool.stallMs, pool.stallMs),
                  std::min(bestPool.totalMs, pool.totalMs)};
      if (dialogs.failed) return 1;
      bestSync = {std::min(bestSync.stallMs, sync.stallMs),
                  std::min(bestSync.totalMs, sync.totalMs)};
      bestAsync = {std::min(bestAsync.stallMs, async.stallMs),
                   std::min(bestAsync.totalMs, async.totalMs)};
    }
    std::printf("%-5s %-6s %11.1f ms %11.1f ms\n", extension + 1, "sync", bestSync.stallMs,
                bestSync.totalMs);
    std::printf("%-5s %-6s %11.1f ms %11.1f ms\n", extension + 1, "async", bestAsync.stallMs,
                bestAsync.totalMs);
    std::printf("%-5s %-6s %11.1f ms %11.1f ms\n", extension + 1, "pool", bestPool.stallMs,
                bestPool.totalMs);
    std::printf("%-5s stall ratio sync/async: %.1f\n", extension + 1,
                bestSync.stallMs / std::max(bestAsync.stallMs, 0.001));
    std::fflush(stdout);
  }
  std::error_code ignored;
  std::filesystem::remove_all(work, ignored);
  // Leave without closing the window, so that the program folder's options stay as they were.
  std::fflush(stdout);
  std::_Exit(0);
}

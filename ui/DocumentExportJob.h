#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <exception>
#include <functional>

// A document written on a thread of the pool, so that the window that asked for it goes on
// taking keys and drawing while a book's PDF or DOCX is laid out and written.
namespace tolvane {

// The text an error box shows for a document that failed: the error's own text, with the file it
// concerns in front where the text does not already name it.
QString ErrorTextNamingItsFile(const std::exception& error);

// One document at a time: a second is refused while the first runs, rather than racing it for
// the same file. The work is given copies of everything it reads (the text, the handout, the
// design, the settings, the snapshot of the reading data), so the window may change its own
// meanwhile; its report comes back on the window's thread.
class DocumentExportJob : public QObject {
  Q_OBJECT

 public:
  // Runs on a worker thread; raises an exception to fail.
  using Work = std::function<void()>;
  // Runs on the window's thread once the work has ended: `error` is empty after success, else
  // the text of the error that ended it (ErrorTextNamingItsFile).
  using Done = std::function<void(const QString& error)>;

  explicit DocumentExportJob(QObject* parent = nullptr);
  // Waits for work still running, so its file is whole; its Done is not called any more.
  ~DocumentExportJob() override;

  // Starts `work`; false, starting nothing, while another job has not yet been reported.
  bool Start(Work work, Done done);
  // Between Start and the call of its Done.
  bool Running() const { return static_cast<bool>(done_); }
  // Waits for the running work and reports it now rather than from the event loop (a window
  // closing while it writes); nothing when no job runs.
  void Finish();
  // The running or last work: its result is the error text, empty after success.
  QFuture<QString> Future() const { return future_; }

 signals:
  // After the Done of a job has run.
  void finished();

 private:
  void Deliver();

  QFutureWatcher<QString> watcher_;
  QFuture<QString> future_;
  Done done_;
};

}  // namespace tolvane

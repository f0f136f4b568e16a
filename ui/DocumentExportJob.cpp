#include "ui/DocumentExportJob.h"

#include <QtConcurrent/QtConcurrentRun>
#include <new>
#include <string_view>
#include <utility>

#include "platform/Error.h"
#include "ui/QtText.h"

namespace tolvane {

QString ErrorTextNamingItsFile(const std::exception& error) {
  const QString text = QStringFromErrorText(error.what());
  const auto* fileError = dynamic_cast<const Error*>(&error);
  if (fileError == nullptr || fileError->path().empty() ||
      std::string_view(error.what()).find(fileError->path().string()) != std::string_view::npos)
    return text;
  return QStringFromPath(fileError->path()) + QStringLiteral(": ") + text;
}

DocumentExportJob::DocumentExportJob(QObject* parent) : QObject(parent) {
  connect(&watcher_, &QFutureWatcher<QString>::finished, this, &DocumentExportJob::Deliver);
}

DocumentExportJob::~DocumentExportJob() {
  done_ = nullptr;
  // The worker holds copies only, but its file is to be whole when the window has gone.
  if (future_.isValid()) future_.waitForFinished();
}

bool DocumentExportJob::Start(Work work, Done done) {
  if (Running()) return false;
  done_ = std::move(done);
  future_ = QtConcurrent::run([work = std::move(work)]() -> QString {
    try {
      work();
      return QString();
    } catch (const std::bad_alloc&) {
      return QStringLiteral("Out of memory");
    } catch (const std::exception& error) {
      const QString text = ErrorTextNamingItsFile(error);
      return text.isEmpty() ? QStringLiteral("Unknown error") : text;
    }
  });
  watcher_.setFuture(future_);
  return true;
}

void DocumentExportJob::Finish() {
  if (!Running()) return;
  future_.waitForFinished();
  Deliver();
}

void DocumentExportJob::Deliver() {
  // A job reported by Finish leaves its watcher's signal to come later: it finds nothing to do.
  if (!Running() || !future_.isFinished()) return;
  const Done done = std::exchange(done_, nullptr);
  done(future_.result());
  emit finished();
}

}  // namespace tolvane

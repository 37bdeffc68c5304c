#pragma once

#include <memory>

#include <QDialog>
#include <QHash>

#include <QPointer>

#include "controls/BackgroundRunner.h"
#include "inet/InternetSession.h"
#include "web/TransferState.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The texts and ids that tell the publishing and the download dialog apart.
struct TransferDialogTexts {
  int dialogId = 0;
  QString title;
  QString thanks;  // "Thank you for … " + host + "."
  QString filesLabel;
  QString filesDoneLabel;
  int filesDoneId = 0;
  QString bytesLabel;
  QString bytesDoneLabel;
  QString actionCaption;
  QString fileBarLabel;
  bool totalBar = false;  // "Total Progress" with its percentage
  QString statusFormat;   // "%1 of %2 bytes sent"
};

// A run on the background runner behind a dialog of counts, bars and a Stop button. The
// run starts a moment after the dialog shows; Close is enabled only once it has ended;
// Escape or the window's close button while it runs stop it first, then close.
class CTransferDialog : public QDialog {
  Q_OBJECT

 public:
  CTransferDialog(const TransferDialogTexts& texts, QWidget* parent);
  ~CTransferDialog() override;

  bool running() const { return bool(m_stop); }
  // The Stop button: asks the run to stop; Close follows when it has.
  void stop();
  QWidget* control(int id) const { return m_controls.value(id); }

  void reject() override;

 signals:
  // The run has ended and the dialog shows so (for tests and screenshots).
  void runEnded();

 protected:
  // Starts the run (with runOnSession).
  virtual BackgroundRunner::StopJob startRun() = 0;
  // Runs run(session, progress) on the background runner with the session stopped by
  // Stop; its result goes to *result, then finishRun() follows on the interface thread.
  template <class Result, class Run>
  BackgroundRunner::StopJob runOnSession(BackgroundRunner& runner, InternetSession& session, Run run,
                                         Result* result) {
    BackgroundTask task;
    task.progressBox = false;
    task.waitCursor = false;
    task.modal = false;
    std::shared_ptr<TransferState> state = m_state;
    return runner.start(
        task,
        [session = &session, run, state](BackgroundJob& job) {
          session->setStopCheck([&job] { return job.stopRequested(); });
          Result ended = run(*session, *state);
          session->setStopCheck({});
          return ended;
        },
        [self = QPointer<CTransferDialog>(this), result](Result ended) {
          if (!self) return;
          *result = std::move(ended);
          self->finishRun();
        });
  }
  // What follows the end of the run (questions, messages); the dialog stays open unless
  // it closes itself.
  virtual void afterRun() = 0;
  void finishRun();
  void setStatus(const QString& text);
  // What the run told the user while it ran, each once.
  const QStringList& problems() const { return m_problems; }

 private:
  QLabel* addValue(int id, const QString& label, const QString& value);
  void refresh();

  TransferDialogTexts m_texts;
  QHash<int, QWidget*> m_controls;
  std::shared_ptr<TransferState> m_state;
  BackgroundRunner::StopJob m_stop;
  QTimer* m_poll;
  bool m_closeWhenEnded = false;
  QStringList m_problems;
  QPushButton* m_stopButton;
  QPushButton* m_closeButton;
};

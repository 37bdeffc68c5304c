#pragma once

#include <memory>

#include <QDialog>
#include <QHash>

#include "controls/BackgroundRunner.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TransferState;

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
  // Starts the run, reporting to state; calls finishRun() on the interface thread when it
  // has ended.
  virtual BackgroundRunner::StopJob startRun(std::shared_ptr<TransferState> state) = 0;
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

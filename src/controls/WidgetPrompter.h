#pragma once

#include "controls/Prompter.h"

// The prompter of the running program: Qt message boxes, input and file dialogs.
class WidgetPrompter : public Prompter {
 public:
  // title: the caption of every message box (the application's name).
  explicit WidgetPrompter(QString title);

  void showError(QWidget* parent, const QString& text) override;
  void showMessage(QWidget* parent, const QString& text) override;
  Answer askYesNoCancel(QWidget* parent, const QString& text) override;
  std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                                 const QString& initialText, int maxLength) override;
  QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& startFolder,
                         const QString& filter) override;
  QStringList chooseOpenFiles(QWidget* parent, const QString& caption,
                              const QString& startFolder, const QString& filter) override;
  QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& startPath,
                         const QString& filter) override;
  QString chooseFolder(QWidget* parent, const QString& caption,
                       const QString& startFolder) override;

 private:
  QString m_title;
};

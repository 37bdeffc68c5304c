#include "controls/WidgetPrompter.h"

#include <utility>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "controls/CInputLineDialog.h"

namespace {
QWidget* Owner(QWidget* parent) { return parent ? parent : QApplication::activeWindow(); }
}  // namespace

WidgetPrompter::WidgetPrompter(QString title) : m_title(std::move(title)) {}

void WidgetPrompter::showError(QWidget* parent, const QString& text) {
  QMessageBox::critical(Owner(parent), m_title, text);
}

void WidgetPrompter::showMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok, Owner(parent));
  box.exec();
}

Prompter::Answer WidgetPrompter::askYesNoCancel(QWidget* parent, const QString& text) {
  const auto button = QMessageBox::question(
      Owner(parent), m_title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
      QMessageBox::Yes);
  switch (button) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

std::optional<QString> WidgetPrompter::askText(QWidget* parent, const QString& caption,
                                               const QString& prompt,
                                               const QString& initialText, int maxLength) {
  CInputLineDialog dialog(*this, caption, prompt, initialText, Owner(parent));
  dialog.setMaxLength(maxLength);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.text();
}

QString WidgetPrompter::chooseOpenFile(QWidget* parent, const QString& caption,
                                       const QString& startFolder, const QString& filter) {
  return QFileDialog::getOpenFileName(Owner(parent), caption, startFolder, filter);
}

QStringList WidgetPrompter::chooseOpenFiles(QWidget* parent, const QString& caption,
                                            const QString& startFolder, const QString& filter) {
  return QFileDialog::getOpenFileNames(Owner(parent), caption, startFolder, filter);
}

QString WidgetPrompter::chooseSaveFile(QWidget* parent, const QString& caption,
                                       const QString& startPath, const QString& filter) {
  return QFileDialog::getSaveFileName(Owner(parent), caption, startPath, filter);
}

QString WidgetPrompter::chooseFolder(QWidget* parent, const QString& caption,
                                     const QString& startFolder) {
  const QString folder = QFileDialog::getExistingDirectory(Owner(parent), caption, startFolder);
  if (folder.isEmpty() || folder.endsWith('/')) return folder;
  return folder + '/';
}

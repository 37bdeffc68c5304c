#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class QWidget;

// Every question, message box and common dialog of the program goes through this one
// seam. The application owns the prompter and hands it down; tests install a scripted
// one. parent is the window the prompt belongs to (null: the active window); message
// boxes carry the application's name as their title.
class Prompter {
 public:
  enum class Answer { Ok, Yes, No, Cancel };

  virtual ~Prompter();

  // Error icon and OK.
  virtual void showError(QWidget* parent, const QString& text) = 0;
  // No icon, OK.
  virtual void showMessage(QWidget* parent, const QString& text) = 0;
  // Question icon, Yes, No and Cancel; closing the box answers Cancel.
  virtual Answer askYesNoCancel(QWidget* parent, const QString& text) = 0;

  // The one-line text entry (the "Input Line" dialog) with a caption and a prompt,
  // starting with initialText; at most maxLength characters (0: no limit). An empty entry
  // is refused with a message while the entry stays open. nullopt when the user cancels.
  virtual std::optional<QString> askText(QWidget* parent, const QString& caption,
                                         const QString& prompt, const QString& initialText,
                                         int maxLength = 0) = 0;

  // File and folder choosers. filter is in the "Pictures (*.jpg *.gif);;All files (*)"
  // form. Each returns the chosen path, or an empty text when the user cancels.
  virtual QString chooseOpenFile(QWidget* parent, const QString& caption,
                                 const QString& startFolder, const QString& filter) = 0;
  virtual QStringList chooseOpenFiles(QWidget* parent, const QString& caption,
                                      const QString& startFolder, const QString& filter) = 0;
  // startPath may name the proposed file. A chosen file that exists has been confirmed
  // for replacing.
  virtual QString chooseSaveFile(QWidget* parent, const QString& caption,
                                 const QString& startPath, const QString& filter) = 0;
  // Returns a folder path ending in "/".
  virtual QString chooseFolder(QWidget* parent, const QString& caption,
                               const QString& startFolder) = 0;
};

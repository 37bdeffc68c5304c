#pragma once

#include <deque>
#include <optional>

#include <QList>

#include "controls/Prompter.h"

// A prompter for tests: it records every prompt and answers from a script given in
// advance. A prompt with no scripted reply left is answered as the user cancelling it
// (OK for message boxes) and counted in unscripted().
class ScriptedPrompter : public Prompter {
 public:
  enum class Kind { Error, Message, Question, Text, OpenFile, OpenFiles, SaveFile, Folder };

  struct Prompt {
    Kind kind;
    QString caption;  // the caption given by the caller; empty for message boxes
    QString text;     // the message, or the text entry's prompt
  };

  // Replies, taken in order by the prompts that need one.
  void answer(Answer reply);
  // For askText and the choosers: nullopt is Cancel; a chooser of several files takes
  // the text split at "\n".
  void reply(std::optional<QString> text);

  const QList<Prompt>& prompts() const { return m_prompts; }
  int unscripted() const { return m_unscripted; }
  bool scriptUsedUp() const { return m_replies.empty(); }

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
  struct Reply {
    bool isAnswer = false;
    Answer answer = Answer::Cancel;
    bool cancelled = false;
    QString text;
  };
  std::optional<QString> nextText(Kind kind, const QString& caption, const QString& text);

  std::deque<Reply> m_replies;
  QList<Prompt> m_prompts;
  int m_unscripted = 0;
};

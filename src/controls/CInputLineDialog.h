#pragma once

#include <QDialog>

class Prompter;
class QLabel;
class QLineEdit;

// Dialog 195, "Input Line": one line of text under a prompt, used for album names, the
// mail server and renaming photos. OK refuses an empty entry and stays open.
class CInputLineDialog : public QDialog {
  Q_OBJECT

 public:
  CInputLineDialog(Prompter& prompter, const QString& caption, const QString& prompt,
                   const QString& text = {}, QWidget* parent = nullptr);

  QString text() const;
  // At most this many characters in the edit; 0 for no limit.
  void setMaxLength(int maxLength);

  void accept() override;

 private:
  Prompter& m_prompter;
  QString m_caption;
  QLabel* m_prompt;
  QLineEdit* m_edit;
};

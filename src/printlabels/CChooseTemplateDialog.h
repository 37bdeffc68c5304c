#pragma once

#include <QDialog>

struct LabelTemplate;
class LabelTemplateList;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTabBar;

// "Choose a Template": the label templates by group, one tab a group, with a preview of
// the selected sheet and its product information.
class CChooseTemplateDialog : public QDialog {
  Q_OBJECT

 public:
  CChooseTemplateDialog(LabelTemplateList& templates, QWidget* parent = nullptr);

  // The template selected in the list; null when none is.
  LabelTemplate* selectedTemplate() const;

  QTabBar* groupTabs() const { return m_tabs; }
  QListWidget* templateList() const { return m_list; }

 public slots:
  void accept() override;

 private:
  void showGroup(int tab);
  void showTemplate(int row);

  LabelTemplateList& m_templates;
  std::vector<LabelTemplate*> m_shown;
  QTabBar* m_tabs;
  QListWidget* m_list;
  QLabel* m_preview;
  QPlainTextEdit* m_info;
};

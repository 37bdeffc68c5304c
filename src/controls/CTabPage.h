#pragma once

#include <memory>

#include <QHash>
#include <QObject>
#include <QRect>
#include <QString>

class PictureEditTarget;
class QWidget;
struct CommandState;

// Where the main window's frame puts things, for a tab page to place its controls.
struct TabPageFrame {
  QSize client;        // the content area below the toolbar
  QRect page;          // inside the tab control, below the tab bar: the page's own area
  QRect leftColumn;    // below the "Instructions" caption, down to the window's bottom margin
  int margin = 6;
};

// The frame's shared controls that a page may place: a page's layout that names one of
// them shows it there; a page that does not name it hides it on that page.
inline constexpr int kInstructionsId = 1073;
inline constexpr int kPickPhotoButtonId = 1010;

// One tab of the main window: its controls, their layout, its part of the command state
// the enable table reads, and the commands it handles while it is the current tab. The
// controls are children of the window's content area, each with its id as object name,
// so that they may lie anywhere in it (some tabs use the left column too).
class CTabPage : public QObject {
  Q_OBJECT

 public:
  CTabPage(QWidget* content, QObject* parent);

  virtual QString tabText() const = 0;
  // The picture file (in the program folder) drawn on the tab.
  virtual QString tabPicture() const = 0;
  virtual QString instructions() const = 0;
  // The rectangles of its controls, keyed by id; it may also place the shared controls.
  virtual QHash<int, QRect> layout(const TabPageFrame& frame) const = 0;
  // Adds what it knows to the state the enable rules read; called for every page.
  virtual void addCommandState(CommandState& state) const;
  // Carries out a command while the page is current; false when it is not the page's.
  virtual bool onCommand(int command);
  // The picture an editing command (Enhance, Crop, Frame ...) works on, or null when the
  // page offers none (or could not load it, after telling the user, or the user declined).
  virtual std::unique_ptr<PictureEditTarget> editTarget(int command);
  // The page became current, or stopped being current.
  virtual void setCurrent(bool current);

  const QHash<int, QWidget*>& controls() const { return m_controls; }
  QWidget* control(int id) const { return m_controls.value(id); }

 signals:
  // Something the enable rules read has changed.
  void commandStateChanged();

 protected:
  // Makes the control one of the page's, named by its id.
  template <class Control>
  Control* addControl(Control* control, int id) {
    registerControl(control, id);
    return control;
  }
  QWidget* content() const { return m_content; }

 private:
  void registerControl(QWidget* control, int id);

  QWidget* m_content;
  QHash<int, QWidget*> m_controls;
};

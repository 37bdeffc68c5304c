#pragma once

#include <QSize>
#include <QWindow>
#include <memory>

// Another program's window that a preview draws into (a settings page, or xscreensaver's).
class HostWindow {
 public:
  // Null when there is no such window, or the platform cannot draw into it.
  static std::unique_ptr<HostWindow> open(quint64 id);
  ~HostWindow();

  QWindow* window() const { return window_.get(); }
  // Whether the window is still there: a preview ends when its host has closed.
  bool exists() const;
  // Its size now; empty once it has gone.
  QSize size() const;

 private:
  HostWindow(quint64 id, QWindow* window);

  quint64 id_;
  std::unique_ptr<QWindow> window_;
};

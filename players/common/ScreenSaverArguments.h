#pragma once

#include <QStringList>
#include <QtGlobal>

// What a screen saver was started to do, from the arguments the system passes: the
// Windows forms "/s", "/p ID", "/c" (also "-s", "/p:ID", "/c:ID", any case) and the
// xscreensaver forms "-root" and "-window-id ID" (or XSCREENSAVER_WINDOW).
struct ScreenSaverArguments {
  enum class Mode {
    Configure,  // the settings box; also with no argument at all
    Show,       // full screen until the user moves the mouse or presses a key
    Root,       // full screen; xscreensaver watches the input
    Window,     // draw into the window `window` (a preview, or xscreensaver's window)
    Quit,       // nothing to do (a request this player does not serve, or a bad window id)
  };
  Mode mode = Mode::Configure;
  quint64 window = 0;

  // arguments without the program's own path; xscreensaverWindow is the value of
  // XSCREENSAVER_WINDOW (empty when it is not set).
  static ScreenSaverArguments parse(const QStringList& arguments,
                                    const QString& xscreensaverWindow = QString());
};

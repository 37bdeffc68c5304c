#include "common/ScreenSaverArguments.h"

namespace {
// A window id in decimal or, as xscreensaver writes it, "0x" hexadecimal; 0 is no window.
quint64 ParseWindowId(const QString& text) {
  bool ok = false;
  const quint64 id = text.trimmed().toULongLong(&ok, 0);
  return ok ? id : 0;
}

ScreenSaverArguments InWindow(quint64 window) {
  ScreenSaverArguments result;
  result.mode = window != 0 ? ScreenSaverArguments::Mode::Window
                            : ScreenSaverArguments::Mode::Quit;
  result.window = window;
  return result;
}
}  // namespace

ScreenSaverArguments ScreenSaverArguments::parse(const QStringList& arguments,
                                                 const QString& xscreensaverWindow) {
  const bool inXscreensaver = !xscreensaverWindow.trimmed().isEmpty();
  if (arguments.isEmpty()) {
    if (inXscreensaver) return InWindow(ParseWindowId(xscreensaverWindow));
    return ScreenSaverArguments();
  }
  const QString first = arguments.at(0).trimmed().toLower();
  const QString next = arguments.size() > 1 ? arguments.at(1) : QString();

  if (first == QLatin1String("-root") || first == QLatin1String("--root")) {
    if (inXscreensaver) return InWindow(ParseWindowId(xscreensaverWindow));
    ScreenSaverArguments result;
    result.mode = Mode::Root;
    return result;
  }
  if (first == QLatin1String("-window-id") || first == QLatin1String("--window-id"))
    return InWindow(ParseWindowId(next));

  if (first.size() < 2 || (first[0] != QLatin1Char('/') && first[0] != QLatin1Char('-')))
    return ScreenSaverArguments();
  // "/p 1234", "/p:1234" and "/p1234" all name the window.
  const QChar letter = first[1];
  QString value = first.mid(2);
  if (value.startsWith(QLatin1Char(':'))) value = value.mid(1);
  ScreenSaverArguments result;
  if (letter == QLatin1Char('s')) {
    result.mode = Mode::Show;
  } else if (letter == QLatin1Char('p')) {
    return InWindow(ParseWindowId(value.isEmpty() ? next : value));
  } else if (letter == QLatin1Char('c')) {
    result.mode = Mode::Configure;
  } else {
    // "/a" (change the password) and anything else: there is nothing this player does.
    result.mode = Mode::Quit;
  }
  return result;
}

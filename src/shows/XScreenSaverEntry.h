#pragma once

#include <QByteArray>
#include <QString>

// The user's ~/.xscreensaver names the screen savers xscreensaver may run ("programs:",
// one entry a line) and which one it runs ("mode: one", "selected: N"). A built screen
// saver becomes an entry there, and the selected one.

// The file's text with an entry for program (a path, run with -root so that it covers
// the screen, or xscreensaver's window when it names one) shown as name, selected. An
// entry for the same program is selected rather than added again. Empty text: a new file
// with just this entry.
QByteArray WithXScreenSaverEntry(const QByteArray& text, const QString& name, const QString& program);

// Applies WithXScreenSaverEntry to the file, replaced whole (written beside, then
// renamed), keeping its permissions. False, with the reason in error, when it could not.
bool AddXScreenSaverEntry(const QString& file, const QString& name, const QString& program, QString* error);

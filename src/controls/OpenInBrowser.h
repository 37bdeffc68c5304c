#pragma once

#include <QString>

class Prompter;
class QWidget;

// The text for an open that failed, by the shell's result code (0 to 32; codes above 32
// mean success and have none).
QString BrowserOpenProblem(int shellResult);

// The shell result code that an exit of the desktop's opener (xdg-open) stands for;
// started false when the opener could not be run at all.
int ShellResultOfOpener(bool started, int exitCode);

// Opens a URL or a file with the desktop's opener, without waiting for it: a browser may
// keep the opener running. When the opener reports a failure, its text is shown in an
// error box owned by owner.
void OpenInBrowser(const QString& target, QWidget* owner, Prompter& prompter);

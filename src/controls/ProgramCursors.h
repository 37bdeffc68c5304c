#pragma once

#include <QCursor>

// The program's own cursors, from the program folder's resources: 153, 172 (the hand
// over a picture that can be opened) and 240. An id without a picture gives the arrow.
QCursor ProgramCursor(int id);

#pragma once

#include <QString>

// "tmp.jpg", where a picture may wait on its way in from a device: in a folder of the
// temporary folder private to this user, never in the shared temporary folder itself
// (where it could be another program's file, or a link planted by another user).
QString TemporaryPicturePath();
// Deletes it when it is there; true when it is gone.
bool RemoveTemporaryPicture();

#pragma once

class QDialog;
class QDialogButtonBox;

// The OK (id 1) and Cancel (id 2) buttons of a dialog, wired to its accept() and reject(),
// which a dialog may override.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

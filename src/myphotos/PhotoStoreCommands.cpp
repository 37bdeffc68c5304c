#include "myphotos/PhotoStoreCommands.h"

#include <optional>

#include "controls/Prompter.h"
#include "krn/ltkrn.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"
#include "library/PhotoStoreTexts.h"
#include "myphotos/CEditCommentDialog.h"

namespace {
void EmptyBitmap(ImageBitmap& bmp) {
  FreeBitmap(bmp);
  InitBitmap(bmp, 0, 0, 0);
}
}  // namespace

PhotoStoreCommands::PhotoStoreCommands(PhotoStore& store, Prompter& prompter, QWidget* parent)
    : m_store(store), m_prompter(prompter), m_parent(parent) {}

int PhotoStoreCommands::renamePhoto(const QString& selectedStem, QString* newStem) {
  if (selectedStem.isEmpty()) {
    m_prompter.showError(m_parent, QString::fromLatin1(PhotoStoreTexts::kSelectToRename));
    return 0;
  }
  QString text = NameForStem(selectedStem);
  for (;;) {
    const std::optional<QString> typed =
        m_prompter.askText(m_parent, QString::fromLatin1(PhotoStoreTexts::kRenameCaption),
                           QString::fromLatin1(PhotoStoreTexts::kRenamePrompt), text,
                           kMaxNameLength);
    if (!typed) return 0;
    // The selected photo counts too: its own name, or its name in another case, is taken.
    const NameCheck check = m_store.CheckName(*typed);
    if (check.accepted()) {
      if (newStem) *newStem = StemForName(check.Name);
      return m_store.Rename(selectedStem, check.Name);
    }
    m_prompter.showError(m_parent, check.Message);
    text = *typed;
  }
}

int PhotoStoreCommands::deletePhoto(const QString& selectedStem) {
  if (selectedStem.isEmpty()) {
    m_prompter.showMessage(m_parent, QString::fromLatin1(PhotoStoreTexts::kSelectToDelete));
    return 0;
  }
  const QString question = QString::fromLatin1(PhotoStoreTexts::kConfirmDelete).arg(selectedStem);
  if (m_prompter.askYesNoCancel(m_parent, question) != Prompter::Answer::Yes) return 0;
  return m_store.Delete(selectedStem);
}

int PhotoStoreCommands::editComment(ImageBitmap& working, const QString& selectedStem) {
  if (selectedStem.isEmpty()) return 0;
  const QString description = m_store.ReadDescription(selectedStem);
  EmptyBitmap(working);
  m_store.LoadPhoto(working, selectedStem);

  int result = 0;
  {
    CEditCommentDialog dialog(selectedStem, description, working, m_parent);
    QObject::connect(&dialog, &CEditCommentDialog::previewClicked, &dialog, [this, &working] {
      if (m_viewFullPhoto) m_viewFullPhoto(working);
    });
    if (dialog.exec() == QDialog::Accepted)
      result = m_store.EditComment(working, selectedStem, dialog.description());
  }
  EmptyBitmap(working);
  return result;
}

#include "web/CWebSpaceDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"

CWebSpaceDialog::CWebSpaceDialog(const SpaceShortage& shortage, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("214"));
  setWindowTitle(QStringLiteral("Web Space"));
  auto* column = new QVBoxLayout(this);
  const auto text = [&](const QString& value, int id) {
    auto* label = new QLabel(value, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setMinimumWidth(400);
    if (id) label->setObjectName(QString::number(id));
    column->addWidget(label);
  };
  text(QStringLiteral("Unfortunately you will exceed your web space with this upload."), 0);
  text(WebSpaceText(shortage), 1175);
  text(QStringLiteral("If you would like to get additional web space so you can publish your photos on the web for "
                      "everyone to enjoy, then click the <Get More Web Space> button."),
       0);
  QDialogButtonBox* buttons = OkCancelButtons(this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Get More Web Space"));
  column->addWidget(buttons);
}

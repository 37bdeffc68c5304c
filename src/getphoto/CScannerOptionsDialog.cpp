#include "getphoto/CScannerOptionsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPointer>
#include <QVBoxLayout>

namespace {

bool IsArea(const QString& name) {
  return name == QLatin1String("tl-x") || name == QLatin1String("tl-y") ||
         name == QLatin1String("br-x") || name == QLatin1String("br-y");
}

QString AreaLabel(const QString& name) {
  if (name == QLatin1String("tl-x")) return QObject::tr("&Left:");
  if (name == QLatin1String("tl-y")) return QObject::tr("&Top:");
  if (name == QLatin1String("br-x")) return QObject::tr("&Right:");
  return QObject::tr("&Bottom:");
}

QWidget* MakeEditor(const ScanOption& option, QWidget* parent) {
  if (option.Type == ScanOption::Kind::Text || !option.NumberChoices.isEmpty()) {
    auto* combo = new QComboBox(parent);
    if (option.Type == ScanOption::Kind::Text) {
      combo->addItems(option.TextChoices);
      const QString current = option.Value.toString();
      if (combo->findText(current) < 0 && !current.isEmpty()) combo->addItem(current);
      combo->setCurrentText(current);
    } else {
      for (double value : option.NumberChoices)
        combo->addItem(QStringLiteral("%1 %2").arg(value).arg(option.Unit).trimmed(), value);
      combo->setCurrentIndex(qMax(0, combo->findData(option.Value.toDouble())));
    }
    return combo;
  }
  auto* spin = new QDoubleSpinBox(parent);
  spin->setDecimals(option.Type == ScanOption::Kind::Fixed ? 1 : 0);
  if (option.HasRange) {
    spin->setRange(option.Minimum, option.Maximum);
    if (option.Step > 0) spin->setSingleStep(option.Step);
  } else {
    spin->setRange(0, 1e6);
  }
  if (!option.Unit.isEmpty()) spin->setSuffix(QLatin1Char(' ') + option.Unit);
  spin->setValue(option.Value.toDouble());
  return spin;
}

}  // namespace

CScannerOptionsDialog::CScannerOptionsDialog(const QList<ScanOption>& options, QWidget* parent)
    : QDialog(parent), options_(options) {
  setWindowTitle(tr("Scanner Settings"));
  auto* layout = new QVBoxLayout(this);
  auto* general = new QFormLayout;
  auto* areaBox = new QGroupBox(tr("Scan area"), this);
  auto* area = new QFormLayout(areaBox);
  for (const ScanOption& option : options_) {
    QWidget* editor = MakeEditor(option, this);
    editor->setObjectName(option.Name);
    editor->setToolTip(option.Description);
    editors_ << editor;
    if (IsArea(option.Name))
      area->addRow(AreaLabel(option.Name), editor);
    else
      general->addRow(option.Title + QLatin1Char(':'), editor);
  }
  layout->addLayout(general);
  if (area->rowCount() > 0)
    layout->addWidget(areaBox);
  else
    delete areaBox;
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QVariantMap CScannerOptionsDialog::chosen() const {
  QVariantMap values;
  for (qsizetype i = 0; i < options_.size(); ++i) {
    const ScanOption& option = options_[i];
    if (auto* combo = qobject_cast<QComboBox*>(editors_[i])) {
      if (combo->currentIndex() < 0) continue;
      if (option.Type == ScanOption::Kind::Text)
        values.insert(option.Name, combo->currentText());
      else
        values.insert(option.Name, combo->currentData().toDouble());
    } else if (auto* spin = qobject_cast<QDoubleSpinBox*>(editors_[i])) {
      values.insert(option.Name, spin->value());
    }
  }
  return values;
}

ScanOptionsCallback CScannerOptionsDialog::callback(QWidget* parent) {
  QPointer<QWidget> owner(parent);
  return [owner](const QList<ScanOption>& options, QVariantMap& chosen) {
    CScannerOptionsDialog dialog(options, owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    chosen = dialog.chosen();
    return true;
  };
}

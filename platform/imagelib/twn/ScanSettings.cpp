#include "twn/ScanSettings.h"

#include <QByteArray>
#include <QStringList>

#include <cmath>
#include <cstring>
#include <vector>

#include "krn/ResultCodes.h"

namespace {

const char* const offeredNames[] = {SANE_NAME_SCAN_MODE, SANE_NAME_SCAN_RESOLUTION,
                                    SANE_NAME_SCAN_TL_X, SANE_NAME_SCAN_TL_Y,
                                    SANE_NAME_SCAN_BR_X, SANE_NAME_SCAN_BR_Y};

// The option's number, or -1 when the device has no option of that name.
int FindOption(SANE_Handle device, const QByteArray& name, const SANE_Option_Descriptor** found) {
  SANE_Int count = 0;
  if (sane_control_option(device, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
    return -1;
  for (int i = 1; i < count; ++i) {
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(device, i);
    if (d && d->name && name == d->name) {
      *found = d;
      return i;
    }
  }
  return -1;
}

QString UnitName(SANE_Unit unit) {
  switch (unit) {
    case SANE_UNIT_PIXEL: return QStringLiteral("pixel");
    case SANE_UNIT_BIT: return QStringLiteral("bit");
    case SANE_UNIT_MM: return QStringLiteral("mm");
    case SANE_UNIT_DPI: return QStringLiteral("dpi");
    case SANE_UNIT_PERCENT: return QStringLiteral("%");
    case SANE_UNIT_MICROSECOND: return QStringLiteral("us");
    default: return {};
  }
}

double WordToNumber(SANE_Word word, SANE_Value_Type type) {
  return type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : double(word);
}

bool IsSingleNumber(const SANE_Option_Descriptor* d) {
  return (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED || d->type == SANE_TYPE_BOOL) &&
         d->size == SANE_Int(sizeof(SANE_Word));
}

bool Usable(const SANE_Option_Descriptor* d) {
  return SANE_OPTION_IS_ACTIVE(d->cap) && SANE_OPTION_IS_SETTABLE(d->cap) &&
         (d->type == SANE_TYPE_STRING ? d->size > 0 : IsSingleNumber(d));
}

ScanOption Describe(SANE_Handle device, int index, const SANE_Option_Descriptor* d) {
  ScanOption option;
  option.Name = QString::fromUtf8(d->name);
  option.Title = QString::fromUtf8(d->title ? d->title : d->name);
  option.Description = QString::fromUtf8(d->desc ? d->desc : "");
  option.Unit = UnitName(d->unit);
  if (d->type == SANE_TYPE_STRING) {
    option.Type = ScanOption::Kind::Text;
    if (d->constraint_type == SANE_CONSTRAINT_STRING_LIST)
      for (const SANE_String_Const* s = d->constraint.string_list; s && *s; ++s)
        option.TextChoices << QString::fromUtf8(*s);
    std::vector<char> text(size_t(d->size) + 1, '\0');
    if (sane_control_option(device, index, SANE_ACTION_GET_VALUE, text.data(), nullptr) ==
        SANE_STATUS_GOOD)
      option.Value = QString::fromUtf8(text.data());
    return option;
  }
  option.Type = d->type == SANE_TYPE_FIXED ? ScanOption::Kind::Fixed : ScanOption::Kind::Integer;
  if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
    option.HasRange = true;
    option.Minimum = WordToNumber(d->constraint.range->min, d->type);
    option.Maximum = WordToNumber(d->constraint.range->max, d->type);
    option.Step = WordToNumber(d->constraint.range->quant, d->type);
  } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
    const SANE_Word* list = d->constraint.word_list;
    for (int i = 1; i <= list[0]; ++i) option.NumberChoices << WordToNumber(list[i], d->type);
  }
  SANE_Word word = 0;
  if (sane_control_option(device, index, SANE_ACTION_GET_VALUE, &word, nullptr) ==
      SANE_STATUS_GOOD)
    option.Value = WordToNumber(word, d->type);
  return option;
}

int SetOne(SANE_Handle device, const QString& name, const QVariant& value) {
  const SANE_Option_Descriptor* d = nullptr;
  const int index = FindOption(device, name.toUtf8(), &d);
  if (index < 0 || !Usable(d)) return ERROR_INV_PARAMETER;
  SANE_Int info = 0;
  if (d->type == SANE_TYPE_STRING) {
    if (value.typeId() != QMetaType::QString) return ERROR_INV_PARAMETER;
    const QByteArray text = value.toString().toUtf8();
    if (text.size() >= d->size) return ERROR_INV_PARAMETER;
    if (d->constraint_type == SANE_CONSTRAINT_STRING_LIST) {
      bool allowed = false;
      for (const SANE_String_Const* s = d->constraint.string_list; s && *s && !allowed; ++s)
        allowed = text == *s;
      if (!allowed) return ERROR_INV_PARAMETER;
    }
    std::vector<char> buffer(size_t(d->size), '\0');
    std::memcpy(buffer.data(), text.constData(), size_t(text.size()));
    return sane_control_option(device, index, SANE_ACTION_SET_VALUE, buffer.data(), &info) ==
                   SANE_STATUS_GOOD
               ? SUCCESS
               : ERROR_INV_PARAMETER;
  }
  bool isNumber = false;
  const double number = value.toDouble(&isNumber);
  if (!isNumber || value.typeId() == QMetaType::QString || !std::isfinite(number))
    return ERROR_INV_PARAMETER;
  if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range &&
      (number < WordToNumber(d->constraint.range->min, d->type) ||
       number > WordToNumber(d->constraint.range->max, d->type)))
    return ERROR_INV_PARAMETER;
  if (d->type != SANE_TYPE_FIXED && std::fabs(number) > 2147483647.0) return ERROR_INV_PARAMETER;
  if (d->type == SANE_TYPE_FIXED && std::fabs(number) > 32767.0) return ERROR_INV_PARAMETER;
  SANE_Word word = d->type == SANE_TYPE_FIXED ? SANE_FIX(number) : SANE_Word(std::lround(number));
  if (d->type == SANE_TYPE_BOOL) word = word ? SANE_TRUE : SANE_FALSE;
  if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
    bool allowed = false;
    for (int i = 1; i <= d->constraint.word_list[0] && !allowed; ++i)
      allowed = d->constraint.word_list[i] == word;
    if (!allowed) return ERROR_INV_PARAMETER;
  }
  return sane_control_option(device, index, SANE_ACTION_SET_VALUE, &word, &info) ==
                 SANE_STATUS_GOOD
             ? SUCCESS
             : ERROR_INV_PARAMETER;
}

bool IsAreaName(const QString& name) {
  return name == QLatin1String(SANE_NAME_SCAN_TL_X) || name == QLatin1String(SANE_NAME_SCAN_TL_Y) ||
         name == QLatin1String(SANE_NAME_SCAN_BR_X) || name == QLatin1String(SANE_NAME_SCAN_BR_Y);
}

}  // namespace

QList<ScanOption> ReadScanSettings(SANE_Handle device) {
  QList<ScanOption> options;
  for (const char* name : offeredNames) {
    const SANE_Option_Descriptor* d = nullptr;
    const int index = FindOption(device, QByteArray(name), &d);
    if (index >= 0 && Usable(d)) options << Describe(device, index, d);
  }
  return options;
}

int ApplyScanSettings(SANE_Handle device, const QVariantMap& chosen) {
  // The mode changes which other settings exist, and the area's limits can follow the
  // other settings, so the mode goes first and the area last.
  QStringList order;
  const QString mode = QString::fromLatin1(SANE_NAME_SCAN_MODE);
  if (chosen.contains(mode)) order << mode;
  for (auto it = chosen.cbegin(); it != chosen.cend(); ++it)
    if (it.key() != mode && !IsAreaName(it.key())) order << it.key();
  for (const char* name : {SANE_NAME_SCAN_TL_X, SANE_NAME_SCAN_TL_Y, SANE_NAME_SCAN_BR_X,
                           SANE_NAME_SCAN_BR_Y})
    if (chosen.contains(QLatin1String(name))) order << QLatin1String(name);
  for (const QString& name : order) {
    const int result = SetOne(device, name, chosen.value(name));
    if (result != SUCCESS) return result;
  }
  return SUCCESS;
}

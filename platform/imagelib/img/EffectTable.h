#pragma once

// The effects the program offers, in the order it lists them: what the Special Effects
// dialog shows, what `brivane effect` accepts and what the tests walk.

#include <span>

#include <QString>
#include <QStringList>

#include "img/ltimg.h"

using EffectOperation = int (*)(ImageBitmap& bmp, int value, int option);

// The choices an effect offers besides its value.
enum class EffectOptions { None, Directions, Channels, Filters };

struct EffectInfo {
  int Code = 0;
  const char* Name = "";
  // The label of its value or choices; "" when it has neither.
  const char* Label = "";
  // The slider's range and its position when the effect is chosen; an effect without a
  // value has an empty range.
  int Minimum = 0;
  int Maximum = 0;
  int Start = 0;
  // The value shown and passed is the slider position divided by this.
  int PositionsPerUnit = 1;
  EffectOptions Options = EffectOptions::None;
  const char* Description = "";
  EffectOperation Operation = nullptr;

  bool HasValue() const { return Maximum > Minimum; }
  // The range of the value the operation receives: the slider's, in its units.
  int LowestValue() const { return Minimum / PositionsPerUnit; }
  int HighestValue() const { return Maximum / PositionsPerUnit; }
};

std::span<const EffectInfo> Effects();
// The effect of a code, or null.
const EffectInfo* FindEffect(int code);
// The effect named so, ignoring case, with spaces, dashes or underscores between the words
// ("gray-scale", "Reduce noise"), or by its code; null when none is.
const EffectInfo* FindEffectByName(const QString& name);
// The texts of an effect's choices, in option order; empty for None.
QStringList EffectOptionTexts(EffectOptions options);

// The value text for a slider position: "%d", or with one decimal ("%3.1f") for effects
// with ten positions a unit.
QString EffectValueText(const EffectInfo& effect, int position);
// The value an effect receives from its value text: its leading whole number ("50.0"
// gives 50), 0 when there is none.
int EffectValueFromText(const QString& text);

// Runs the effect on the picture after checking its value and option; a value outside the
// effect's range or an option it does not offer is ERROR_INV_PARAMETER, the picture untouched.
int ApplyEffect(const EffectInfo& effect, ImageBitmap& bmp, int value, int option);

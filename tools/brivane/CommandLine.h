#pragma once

// What the commands of brivane share: reading their arguments and naming results.

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include "fil/ltfil.h"

class QFont;

// A command's arguments split into options and the rest.
struct ParsedArguments {
  QStringList Positional;
  QMap<QString, QString> Values;
  QSet<QString> Flags;
  bool Help = false;
  QString Error;
};

// Options may come anywhere, as "--name value" or "--name=value"; "--" ends them.
ParsedArguments ParseArguments(const QStringList& arguments, const QStringList& flagOptions,
                               const QStringList& valueOptions);

// Frees the bitmap's pixels and leaves it empty.
void EmptyBitmap(ImageBitmap& bmp);
// "NAME (sentence)" for a result code.
QString ResultDescription(int code);
// "" for SUCCESS, else ResultDescription(code).
QString ResultProblem(int code);
// The same for reading a picture file: a picture refused for its size is named with it.
QString FileResultDescription(int code, const FileInfo& header);
// A font as "Family,size[,bold][,italic]", the size in points; false when the size is
// missing or not a positive number, or a style is unknown.
bool ParseFont(const QString& text, QFont& font);

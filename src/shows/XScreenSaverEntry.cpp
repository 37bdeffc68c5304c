#include "shows/XScreenSaverEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

// The command line xscreensaver runs through the shell: the path in single quotes.
QByteArray Command(const QString& program) {
  QByteArray quoted = program.toUtf8();
  quoted.replace('\'', "'\\''");
  return "'" + quoted + "' -root";
}

// The name as xscreensaver shows it; its quotes and line breaks would end the entry.
QByteArray Label(const QString& name) {
  QByteArray label = name.toUtf8();
  for (char& c : label)
    if (c == '"' || c == '\\' || uchar(c) < 0x20) c = ' ';
  return label;
}

// The lines of the "programs:" resource: from its line through every line ended by a
// backslash.
struct ProgramsResource {
  qsizetype begin = -1;  // offset of "programs:"
  qsizetype end = -1;    // offset after its last line's line end
};

ProgramsResource FindPrograms(const QByteArray& text) {
  ProgramsResource found;
  static const QRegularExpression start(QStringLiteral("(^|\\n)programs:"));
  const QString asText = QString::fromLatin1(text);
  const QRegularExpressionMatch match = start.match(asText);
  if (!match.hasMatch()) return found;
  found.begin = match.capturedStart() + (match.captured(1).isEmpty() ? 0 : 1);
  qsizetype at = found.begin;
  for (;;) {
    const qsizetype lineEnd = text.indexOf('\n', at);
    if (lineEnd < 0) {
      found.end = text.size();
      return found;
    }
    const QByteArray line = text.mid(at, lineEnd - at).trimmed();
    at = lineEnd + 1;
    if (!line.endsWith('\\')) {
      found.end = at;
      return found;
    }
  }
}

// The entries of the resource's value: its lines joined, split at the "\n" escapes.
QList<QByteArray> Entries(const QByteArray& resource) {
  QByteArray value = resource.mid(resource.indexOf(':') + 1);
  value.replace("\\\n", "");
  value.replace("\\n", "\n");
  QList<QByteArray> entries;
  for (const QByteArray& part : value.split('\n'))
    if (!part.trimmed().isEmpty()) entries.append(part.trimmed());
  return entries;
}

QByteArray SetResource(QByteArray text, const QByteArray& key, const QByteArray& value) {
  const QRegularExpression line(QStringLiteral("(^|\\n)%1:[^\\n]*").arg(QString::fromLatin1(key)));
  const QRegularExpressionMatch match = line.match(QString::fromLatin1(text));
  const QByteArray replacement = key + ":\t\t" + value;
  if (!match.hasMatch()) return key + ":\t\t" + value + "\n" + text;
  const qsizetype begin = match.capturedStart() + (match.captured(1).isEmpty() ? 0 : 1);
  text.replace(begin, match.capturedEnd() - begin, replacement);
  return text;
}

}  // namespace

QByteArray WithXScreenSaverEntry(const QByteArray& text, const QString& name, const QString& program) {
  const QByteArray entry = "\"" + Label(name) + "\"  " + Command(program);
  const ProgramsResource programs = FindPrograms(text);
  QList<QByteArray> entries =
      programs.begin < 0 ? QList<QByteArray>() : Entries(text.mid(programs.begin, programs.end - programs.begin));
  qsizetype selected = -1;
  for (qsizetype i = 0; i < entries.size(); ++i)
    if (entries[i].contains(Command(program))) selected = i;
  if (selected < 0) {
    entries.append(entry);
    selected = entries.size() - 1;
  }
  QByteArray resource = "programs:\t\t\t\t\t\t\t\t      \\\n";
  for (const QByteArray& each : entries) resource += "\t\t  " + each + "\t\t\t\t    \\n\\\n";
  // An empty line ends the value, as xscreensaver writes it.
  resource += "\n";
  QByteArray result = text;
  if (programs.begin < 0) {
    if (!result.isEmpty() && !result.endsWith('\n')) result += '\n';
    result += resource;
  } else {
    result.replace(programs.begin, programs.end - programs.begin, resource);
  }
  result = SetResource(result, "selected", QByteArray::number(selected));
  return SetResource(result, "mode", "one");
}

bool AddXScreenSaverEntry(const QString& file, const QString& name, const QString& program, QString* error) {
  QByteArray text;
  QFile existing(file);
  if (existing.exists()) {
    if (!existing.open(QIODevice::ReadOnly)) {
      if (error) *error = existing.errorString();
      return false;
    }
    text = existing.readAll();
    existing.close();
  }
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) {
    if (error) *error = out.errorString();
    return false;
  }
  out.write(WithXScreenSaverEntry(text, name, program));
  if (QFileInfo::exists(file)) out.setPermissions(QFileInfo(file).permissions());
  if (!out.commit()) {
    if (error) *error = out.errorString();
    return false;
  }
  return true;
}

#include "support/ScriptedPrompter.h"

#include <utility>

void ScriptedPrompter::answer(Answer reply) {
  Reply scripted;
  scripted.isAnswer = true;
  scripted.answer = reply;
  m_replies.push_back(scripted);
}

void ScriptedPrompter::reply(std::optional<QString> text) {
  Reply scripted;
  scripted.cancelled = !text;
  scripted.text = std::move(text).value_or(QString());
  m_replies.push_back(std::move(scripted));
}

void ScriptedPrompter::showError(QWidget*, const QString& text) {
  m_prompts.append({Kind::Error, {}, text});
}

void ScriptedPrompter::showMessage(QWidget*, const QString& text) {
  m_prompts.append({Kind::Message, {}, text});
}

Prompter::Answer ScriptedPrompter::askYesNoCancel(QWidget*, const QString& text) {
  m_prompts.append({Kind::Question, {}, text});
  if (!m_replies.empty() && m_replies.front().isAnswer) {
    const Answer reply = m_replies.front().answer;
    m_replies.pop_front();
    return reply;
  }
  ++m_unscripted;
  return Answer::Cancel;
}

std::optional<QString> ScriptedPrompter::nextText(Kind kind, const QString& caption,
                                                  const QString& text) {
  m_prompts.append({kind, caption, text});
  if (!m_replies.empty() && !m_replies.front().isAnswer) {
    const Reply reply = m_replies.front();
    m_replies.pop_front();
    if (reply.cancelled) return std::nullopt;
    return reply.text;
  }
  ++m_unscripted;
  return std::nullopt;
}

std::optional<QString> ScriptedPrompter::askText(QWidget*, const QString& caption,
                                                 const QString& prompt, const QString&, int) {
  return nextText(Kind::Text, caption, prompt);
}

QString ScriptedPrompter::chooseOpenFile(QWidget*, const QString& caption, const QString&,
                                         const QString&) {
  return nextText(Kind::OpenFile, caption, {}).value_or(QString());
}

QStringList ScriptedPrompter::chooseOpenFiles(QWidget*, const QString& caption, const QString&,
                                              const QString&) {
  const std::optional<QString> files = nextText(Kind::OpenFiles, caption, {});
  return files ? files->split('\n', Qt::SkipEmptyParts) : QStringList();
}

QString ScriptedPrompter::chooseSaveFile(QWidget*, const QString& caption, const QString&,
                                         const QString&) {
  return nextText(Kind::SaveFile, caption, {}).value_or(QString());
}

QString ScriptedPrompter::chooseFolder(QWidget*, const QString& caption, const QString&) {
  return nextText(Kind::Folder, caption, {}).value_or(QString());
}

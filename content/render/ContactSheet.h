#pragma once

#include <QString>
#include <QStringList>

// Lays every shipped picture on one page with its file name under it, so the whole set
// can be judged at a glance. Templates are shown with a stand-in photo in their hole,
// key-coloured pictures on a toolbar-grey ground, and small pictures enlarged twice
// without smoothing. Returns an empty string or the reason it failed.
QString WriteContactSheet(const QString& root, const QStringList& files, const QString& sampleSvg,
                          const QString& output);

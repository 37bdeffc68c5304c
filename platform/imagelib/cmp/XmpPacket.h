#pragma once

#include <cstddef>
#include <optional>

#include <QByteArray>
#include <QString>

// The XMP packet of a JPEG: an APP1 segment holding the namespace
// "http://ns.adobe.com/xap/1.0/", a NUL and the packet's XML.

// Whether an APP1 payload is an XMP packet.
bool IsXmpSegment(const char* data, std::size_t size);
// dc:description of an XMP APP1 payload: the x-default entry, else the first one.
std::optional<QString> ReadXmpDescription(const char* data, std::size_t size);
// An XMP APP1 payload holding only dc:description as a language alternative (x-default).
QByteArray BuildXmpSegment(const QString& description);

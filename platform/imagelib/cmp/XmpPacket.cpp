#include "cmp/XmpPacket.h"

#include <cstring>

#include <QXmlStreamReader>

namespace {
constexpr char kXmpNamespace[] = "http://ns.adobe.com/xap/1.0/";  // with its NUL: 29 bytes
constexpr std::size_t kXmpHeaderSize = sizeof(kXmpNamespace);
constexpr char kDcNamespace[] = "http://purl.org/dc/elements/1.1/";
constexpr char kRdfNamespace[] = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";

QString LanguageOf(const QXmlStreamReader& xml) {
  const QXmlStreamAttributes attributes = xml.attributes();
  if (attributes.hasAttribute(QStringLiteral("http://www.w3.org/XML/1998/namespace"),
                              QStringLiteral("lang")))
    return attributes.value(QStringLiteral("http://www.w3.org/XML/1998/namespace"),
                            QStringLiteral("lang")).toString();
  return attributes.value(QStringLiteral("xml:lang")).toString();
}

// Text that XML 1.0 can carry: markup characters escaped, other control characters
// (which no XML parser would accept) dropped, CR kept as a reference so it survives.
QString EscapeXml(const QString& text) {
  QString out;
  out.reserve(text.size() + 16);
  for (QChar c : text) {
    switch (c.unicode()) {
      case '&': out += QLatin1String("&amp;"); break;
      case '<': out += QLatin1String("&lt;"); break;
      case '>': out += QLatin1String("&gt;"); break;
      case '"': out += QLatin1String("&quot;"); break;
      case '\r': out += QLatin1String("&#xD;"); break;
      case '\t':
      case '\n': out += c; break;
      default:
        if (c.unicode() >= 0x20 && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF) out += c;
        break;
    }
  }
  return out;
}
}  // namespace

bool IsXmpSegment(const char* data, std::size_t size) {
  return size >= kXmpHeaderSize && std::memcmp(data, kXmpNamespace, kXmpHeaderSize) == 0;
}

std::optional<QString> ReadXmpDescription(const char* data, std::size_t size) {
  if (!IsXmpSegment(data, size)) return std::nullopt;
  const char* xmlStart = data + kXmpHeaderSize;
  const char* end = data + size;
  // Start at the first element: a packet may carry an XML declaration after its
  // xpacket instruction, which a strict parser refuses.
  while (xmlStart + 1 < end && !(xmlStart[0] == '<' && (xmlStart[1] != '?' && xmlStart[1] != '!')))
    ++xmlStart;
  if (xmlStart + 1 >= end) return std::nullopt;

  QXmlStreamReader xml(QByteArray::fromRawData(xmlStart, qsizetype(end - xmlStart)));
  const QString dc = QString::fromLatin1(kDcNamespace);
  const QString rdf = QString::fromLatin1(kRdfNamespace);
  const QString description = QStringLiteral("description");
  std::optional<QString> first;
  bool inDescription = false;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      if (!inDescription && xml.namespaceUri() == dc && xml.name() == description) {
        inDescription = true;
      } else if (inDescription && xml.namespaceUri() == rdf && xml.name() == QLatin1String("li")) {
        const bool isDefault = LanguageOf(xml) == QLatin1String("x-default");
        QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        if (isDefault) return text;
        if (!first) first = std::move(text);
      } else if (!inDescription && xml.namespaceUri() == rdf &&
                 xml.name() == QLatin1String("Description") &&
                 xml.attributes().hasAttribute(dc, description)) {
        // The short form some writers use: a plain attribute instead of an rdf:Alt.
        return xml.attributes().value(dc, description).toString();
      }
    } else if (token == QXmlStreamReader::EndElement && inDescription &&
               xml.namespaceUri() == dc && xml.name() == description) {
      break;
    }
  }
  return first;
}

QByteArray BuildXmpSegment(const QString& description) {
  QByteArray out(kXmpNamespace, kXmpHeaderSize);
  out += "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
         "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
         " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
         "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
         "   <dc:description>\n"
         "    <rdf:Alt>\n"
         "     <rdf:li xml:lang=\"x-default\">";
  out += EscapeXml(description).toUtf8();
  out += "</rdf:li>\n"
         "    </rdf:Alt>\n"
         "   </dc:description>\n"
         "  </rdf:Description>\n"
         " </rdf:RDF>\n"
         "</x:xmpmeta>\n"
         "<?xpacket end=\"w\"?>";
  return out;
}

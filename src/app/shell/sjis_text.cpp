#include "app/shell/sjis_text.h"

#include "core/records/cp932.h"

namespace tomvik::app {

QString ToQString(std::string_view cp932, bool* replaced) {
  bool ascii = true;
  for (char c : cp932) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) {
    if (replaced) *replaced = false;
    return QString::fromLatin1(cp932.data(), static_cast<qsizetype>(cp932.size()));
  }
  const core::Converted converted = core::ThreadCodec().ToUtf8(cp932);
  if (replaced) *replaced = converted.replaced;
  return QString::fromUtf8(converted.text.data(), static_cast<qsizetype>(converted.text.size()));
}

std::string ToSjis(const QString& text, bool* replaced) {
  const QByteArray utf8 = text.toUtf8();
  const core::Converted converted =
      core::ThreadCodec().FromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
  if (replaced) *replaced = converted.replaced;
  return converted.text;
}

}  // namespace tomvik::app

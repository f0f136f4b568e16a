#include "platform/TextEncoding.h"

namespace tolvane {

using namespace std::string_view_literals;

TextEncoding OutputEncodingFor(const TextEncoding& source, OutputEncodingChoice choice) {
  switch (choice) {
    case OutputEncodingChoice::Same:
      if (source.encoding == Encoding::Utf16Le || source.encoding == Encoding::Utf16Be)
        return {source.encoding, true};
      return source;
    case OutputEncodingChoice::Utf8:
      return {Encoding::Utf8, false};
    case OutputEncodingChoice::Utf8Bom:
      return {Encoding::Utf8, true};
    case OutputEncodingChoice::Utf16Le:
      return {Encoding::Utf16Le, true};
    case OutputEncodingChoice::Utf16Be:
      return {Encoding::Utf16Be, true};
    case OutputEncodingChoice::Gb18030:
      return {Encoding::Gb18030, false};
  }
  return source;
}

std::string_view EncodingName(const TextEncoding& encoding) {
  switch (encoding.encoding) {
    case Encoding::Cp936:
      return "GB2312/GBK";
    case Encoding::Utf8:
      return encoding.byteOrderMark ? "UTF-8 BOM" : "UTF-8";
    case Encoding::Utf16Le:
      return "UTF-16LE";
    case Encoding::Utf16Be:
      return "UTF-16BE";
    case Encoding::Gb18030:
      return "GB18030";
  }
  return {};
}

std::string_view ByteOrderMark(Encoding encoding) {
  switch (encoding) {
    case Encoding::Utf8:
      return "\xEF\xBB\xBF"sv;
    case Encoding::Utf16Le:
      return "\xFF\xFE"sv;
    case Encoding::Utf16Be:
      return "\xFE\xFF"sv;
    case Encoding::Cp936:
    case Encoding::Gb18030:
      break;
  }
  return {};
}

std::string_view LineEnd(Encoding encoding) {
  switch (encoding) {
    case Encoding::Utf16Le:
      return "\r\0\n\0"sv;
    case Encoding::Utf16Be:
      return "\0\r\0\n"sv;
    case Encoding::Cp936:
    case Encoding::Utf8:
    case Encoding::Gb18030:
      break;
  }
  return "\r\n"sv;
}

}  // namespace tolvane

#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

// Conversions at the edge between Qt's UTF-16 strings and the system's GB2312 bytes and paths.
namespace tolvane {

QString QStringFromGb(std::string_view textGb);
std::string GbFromQString(const QString& text);

// Byte length of `text` once encoded in GB2312; a character that code page 936 lacks counts its
// GB18030 byte length.
std::size_t GbByteLength(const QString& text);

std::filesystem::path PathFromQString(const QString& path);
QString QStringFromPath(const std::filesystem::path& path);

// The text of an exception, which holds the platform's 8-bit text (paths included).
QString QStringFromErrorText(const char* text);

}  // namespace tolvane

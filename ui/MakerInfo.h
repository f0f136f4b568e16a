#pragma once

#include <QString>
#include <QUrl>

// Who made the program, in the one place the usage notes, the About window and the Help menu's
// online help take it from. The maker is the project itself; its address lies in the reserved
// example.org domain, so no real third party is named. UTF-8.
namespace tolvane::maker {

inline constexpr const char* kName = "Tolvane 开发组";
inline constexpr const char* kWebAddress = "https://tolvane.example.org/";
inline constexpr const char* kContact = "电子邮件：team@tolvane.example.org";

// The web page, as the shell is asked to open it.
inline QUrl WebPageUrl() { return QUrl(QString::fromUtf8(kWebAddress)); }

}  // namespace tolvane::maker

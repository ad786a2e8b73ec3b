// Windows-1252 text of files and the serial line <-> QString for the screen.
// Our own table: Qt's converters may not offer this code page.
#pragma once

#include <QString>
#include <string>

namespace cam {

QString FromCp1252(const std::string& bytes);
// Characters that Windows-1252 cannot encode become '?' and set *ok to false.
std::string ToCp1252(const QString& text, bool* ok = nullptr);
// Whether every character of text can be written in Windows-1252.
bool IsCp1252(const QString& text);

}  // namespace cam

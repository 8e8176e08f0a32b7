#pragma once
// A file name picked in a dialog, as the path the core opens: the bytes the
// file system knows the file by, whatever the locale makes of them.

#include <QFile>
#include <QString>
#include <filesystem>

namespace ohmara {

inline std::filesystem::path FilePath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace ohmara

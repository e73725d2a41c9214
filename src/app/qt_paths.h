// File names cross between Qt and the core here, byte for byte in the
// file system's own encoding, so a name that is not valid UTF-8 still
// reaches the same file.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <filesystem>

namespace enlazor::app {

inline std::filesystem::path to_path(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

inline QString to_qstring(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

} // namespace enlazor::app

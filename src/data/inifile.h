#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace moji {

// A private-profile (INI) file with the Windows semantics the settings need: section and key
// names compared without regard to case and surrounding blanks, the first of duplicates wins,
// and writing one key keeps every other line of the file exactly as it was. Changes are kept
// in memory until save(), which replaces the file atomically.
class IniFile {
public:
    // `displayName` names the file in error reports.
    IniFile(QString path, QString displayName);

    // Reads the file; a missing file is an empty one. Raises FileError when it cannot be read.
    void load();
    // Writes the file through a temporary file and a rename. Raises FileError on failure.
    void save() const;

    // The value's bytes as they stand in the file, without surrounding blanks and quotes.
    std::optional<QByteArray> readBytes(const QString& section, const QString& key) const;
    std::optional<QString> readString(const QString& section, const QString& key) const;
    // The value as a whole decimal number (optional sign, surrounding blanks allowed);
    // `fallback` when the key is absent, empty or not a number. A number beyond 64 bits comes
    // back as the limit of its sign, so that a range check refuses it like any other.
    qint64 readInteger(const QString& section, const QString& key, qint64 fallback) const;
    void writeString(const QString& section, const QString& key, const QString& value);
    // The value's bytes as they are to stand in the file (a file name, in the system's bytes).
    void writeBytes(const QString& section, const QString& key, const QByteArray& value);

private:
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;
    int sectionEnd(int sectionLine) const;

    QString m_path;
    QString m_displayName;
    QList<QByteArray> m_lines;
    QByteArray m_newline = "\n";
    // A UTF-8 byte-order mark some editors put before the first line, kept for the save.
    QByteArray m_byteOrderMark;
};

} // namespace moji

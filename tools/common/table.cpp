#include "table.h"

#include "filestore.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace moji::content {

std::vector<Row> readTable(const QString& path, bool hasHeader)
{
    const QString name = QFileInfo(path).fileName();
    const QByteArray bytes = filestore::readAll(path, name);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        throw FileError(name, QStringLiteral("not valid UTF-8"));

    std::vector<Row> rows;
    bool headerSeen = !hasHeader;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (!headerSeen) {
            headerSeen = true;
            continue;
        }
        rows.push_back(Row{name, i + 1, line.split(QLatin1Char('\t'))});
    }
    return rows;
}

} // namespace moji::content

#include "errors.h"

namespace moji {

DataError::DataError(const QString& fileName, const QString& detail)
    : std::runtime_error((fileName.isEmpty() ? detail : fileName + QStringLiteral(": ") + detail).toStdString()),
      m_fileName(fileName), m_detail(detail)
{
}

QString fileErrorMessage(const QString& fileName)
{
    return fileName + QStringLiteral("でエラーがおこりました。 ");
}

QString errorReportText(const DataError& error)
{
    if (!error.fileName().isEmpty())
        return fileErrorMessage(error.fileName());
    return QStringLiteral("プログラムのなかでエラーがおこりました。\n(%1)").arg(error.detail());
}

} // namespace moji

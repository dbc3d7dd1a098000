#include "timelimits.h"

namespace moji {

std::optional<int16_t> parseMinutes(const QString& text)
{
    // Full-width digits, as a Japanese input method types them, count as digits.
    bool ok = false;
    const qint64 value = text.normalized(QString::NormalizationForm_KC).trimmed().toLongLong(&ok);
    if (!ok || value < MinMinutes || value > MaxMinutes)
        return std::nullopt;
    return int16_t(value);
}

QString minutesRefusal(const QString& box)
{
    return QStringLiteral("「%1」の回答時間は、１から５９までの数（分）を入れてください。").arg(box);
}

} // namespace moji

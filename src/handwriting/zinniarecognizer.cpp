#include "recognizer.h"
#include "zinniamodel.h"

#include <QFile>

#include <algorithm>

#include <zinnia.h>

namespace moji::handwriting {

namespace {

constexpr int Square = 256;
// Writing that stays within this many units of one spot, across and down, is a tap or a
// jiggle of the pen, not a kanji: Zinnia would still name kanji for it.
constexpr int Spot = 3;

Point onSquare(const Point& p)
{
    return {std::clamp(p.x, 0, Square - 1), std::clamp(p.y, 0, Square - 1)};
}

bool leavesTheSpot(const Strokes& strokes)
{
    bool any = false;
    Point low, high;
    for (const Stroke& stroke : strokes) {
        for (const Point& raw : stroke) {
            const Point p = onSquare(raw);
            low = any ? Point{std::min(low.x, p.x), std::min(low.y, p.y)} : p;
            high = any ? Point{std::max(high.x, p.x), std::max(high.y, p.y)} : p;
            any = true;
        }
    }
    return any && (high.x - low.x >= Spot || high.y - low.y >= Spot);
}

class ZinniaRecognizer final : public Recognizer {
public:
    ZinniaRecognizer(QString modelPath, QSet<QString> allowed) : m_path(std::move(modelPath)), m_allowed(std::move(allowed)) {}

    std::vector<Candidate> recognize(const Strokes& strokes, int count) override
    {
        if (count <= 0 || !leavesTheSpot(strokes) || !open())
            return {};
        std::unique_ptr<zinnia::Character> character(zinnia::Character::create());
        character->clear();
        character->set_width(Square);
        character->set_height(Square);
        std::size_t id = 0;
        for (const Stroke& stroke : strokes) {
            if (stroke.empty())
                continue;
            for (const Point& raw : resampled(stroke)) {
                const Point p = onSquare(raw);
                character->add(id, p.x, p.y);
            }
            ++id;
        }
        // The whole ranking, so that the allowed kanji fill the candidates asked for even where
        // Zinnia holds its whole model (see open()) and ranks kanji of later grades first.
        std::unique_ptr<zinnia::Result> result(m_zinnia->classify(*character, m_zinnia->size()));
        std::vector<Candidate> out;
        for (std::size_t i = 0; result && i < result->size() && int(out.size()) < count; ++i) {
            const QString kanji = QString::fromUtf8(result->value(i));
            if (m_allowed.contains(kanji))
                out.push_back({kanji, result->score(i)});
        }
        return out;
    }

    QString error() const override { return m_error; }

private:
    bool open()
    {
        if (m_zinnia)
            return true;
        if (!m_error.isEmpty())
            return false;
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly)) {
            m_error = m_path + QStringLiteral(": ") + file.errorString();
            return false;
        }
        m_model = narrowedZinniaModel(file, m_allowed).value_or(QByteArray());
        // A model in a layout the narrowing does not know is opened whole: the same candidates,
        // more memory.
        std::unique_ptr<zinnia::Recognizer> zinnia(zinnia::Recognizer::create());
        const bool opened = m_model.isEmpty() ? zinnia->open(QFile::encodeName(m_path).constData())
                                              : zinnia->open(m_model.constData(), std::size_t(m_model.size()));
        if (!opened) {
            m_error = m_path + QStringLiteral(": ") + QString::fromUtf8(zinnia->what());
            m_model.clear();
            return false;
        }
        m_zinnia = std::move(zinnia);
        return true;
    }

    QString m_path;
    QSet<QString> m_allowed;
    QByteArray m_model; // the model cut down to the allowed kanji, which Zinnia reads in place
    std::unique_ptr<zinnia::Recognizer> m_zinnia;
    QString m_error;
};

} // namespace

QString defaultModelPath()
{
    return QStringLiteral("/usr/share/tegaki/models/zinnia/handwriting-ja.model");
}

std::unique_ptr<Recognizer> createZinniaRecognizer(const QString& modelPath, const QSet<QString>& allowed)
{
    return std::make_unique<ZinniaRecognizer>(modelPath, allowed);
}

} // namespace moji::handwriting
